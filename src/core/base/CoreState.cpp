#include "core/base/CoreState.h"

#include <utility>

std::size_t CoreState::NextSlot() {
    static std::size_t next = 0;
    return next++;
}

void CoreState::Make(std::size_t slot, std::shared_ptr<void> object) {
    // Objects that this one's constructor used were made (and entered) before it.
    if (slot >= m_objects.size())
        m_objects.resize(slot + 1);
    m_objects[slot] = std::move(object);
    m_made.push_back(slot);
}

void CoreState::Reset() {
    while (!m_made.empty()) {
        const std::size_t slot = m_made.back();
        m_made.pop_back();
        // Taken out first: the destructor may ask for the objects that are still there.
        std::shared_ptr<void> object = std::move(m_objects[slot]);
        object.reset();
    }
}

CoreState& coreState() {
    static CoreState state;
    return state;
}
