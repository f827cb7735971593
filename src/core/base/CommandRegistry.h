#pragma once

#include <functional>
#include <map>

// Binds the command ids of the menus and bars to the code that runs them and to their enabling and
// check-mark rules. Each subsystem binds its own commands; the main window turns every id into one
// QAction and asks the registry whether it is enabled whenever the reply state, a document or the
// active window changes. An id nobody has bound stays grey.
class CommandRegistry {
public:
    using Action = std::function<void()>;
    using Rule = std::function<bool()>;
    using Gate = std::function<bool(int id)>;

    // `enabled` empty: always enabled. `checked` empty: the command shows no check mark.
    void Bind(int id, Action run, Rule enabled = {}, Rule checked = {});
    void Unbind(int id);
    // A rule that every bound command must pass as well as its own, given the command's id.
    void SetGate(Gate gate);

    bool IsBound(int id) const;
    bool IsEnabled(int id) const;
    bool HasCheck(int id) const;
    bool IsChecked(int id) const;
    // Runs the command when it is bound and enabled; true when it ran.
    bool Run(int id) const;

private:
    struct Binding {
        Action run;
        Rule enabled;
        Rule checked;
    };
    std::map<int, Binding> m_bindings;
    Gate m_gate;
};

// The program's one registry.
CommandRegistry& commands();
