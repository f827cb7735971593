#include "core/base/CommandRegistry.h"

#include "core/base/CoreState.h"

void CommandRegistry::Bind(int id, Action run, Rule enabled, Rule checked) {
    m_bindings[id] = Binding{std::move(run), std::move(enabled), std::move(checked)};
}

void CommandRegistry::Unbind(int id) {
    m_bindings.erase(id);
}

void CommandRegistry::SetGate(Gate gate) {
    m_gate = std::move(gate);
}

bool CommandRegistry::IsBound(int id) const {
    return m_bindings.count(id) != 0;
}

bool CommandRegistry::IsEnabled(int id) const {
    const auto it = m_bindings.find(id);
    if (it == m_bindings.end())
        return false;
    return (!m_gate || m_gate(id)) && (!it->second.enabled || it->second.enabled());
}

bool CommandRegistry::HasCheck(int id) const {
    const auto it = m_bindings.find(id);
    return it != m_bindings.end() && static_cast<bool>(it->second.checked);
}

bool CommandRegistry::IsChecked(int id) const {
    const auto it = m_bindings.find(id);
    return it != m_bindings.end() && it->second.checked && it->second.checked();
}

bool CommandRegistry::Run(int id) const {
    const auto it = m_bindings.find(id);
    if (it == m_bindings.end() || !it->second.run || !IsEnabled(id))
        return false;
    // Copy: the command may rebind itself while it runs.
    const Action run = it->second.run;
    run();
    return true;
}

CommandRegistry& commands() {
    return coreState().Get<CommandRegistry>();
}
