#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// The one owner of the core's single-instance state: the link, the handshake, the project, the
// settings profile, the macro set, the teach pad, the command registry, the application hooks and the
// rest. Each subsystem keeps its readable accessor (protocol(), commLink(), settings(), ...), which
// asks the owner for its object: made on first use, it lives until the owner is reset. The owner
// knows none of the types it holds, so every folder of the core can use it without depending on the
// folders above it.
class CoreState {
public:
    CoreState() = default;
    CoreState(const CoreState&) = delete;
    CoreState& operator=(const CoreState&) = delete;
    ~CoreState() { Reset(); }

    // The one object of type T, made with its default constructor on first use.
    template <typename T> T& Get() {
        const std::size_t slot = SlotOf<T>();
        if (slot >= m_objects.size() || !m_objects[slot])
            Make(slot, std::make_shared<T>());
        return *static_cast<T*>(m_objects[slot].get());
    }

    // Destroys every object, the newest first, so that the next use starts from the state of a fresh
    // program. A destructor may still use the objects made before its own.
    void Reset();

private:
    template <typename T> static std::size_t SlotOf() {
        static const std::size_t slot = NextSlot();
        return slot;
    }
    static std::size_t NextSlot();
    void Make(std::size_t slot, std::shared_ptr<void> object);

    std::vector<std::shared_ptr<void>> m_objects; // by slot
    std::vector<std::size_t> m_made;              // slots in the order their objects were made
};

// The owner of the program's core state. Tests start it over with ResetCore() (core/app/CoreWiring.h),
// which also wires the new objects to each other.
CoreState& coreState();
