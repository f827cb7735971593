#include "core/macros/Cmacdoc.h"

#include "core/base/CoreState.h"
#include "core/base/UiSeam.h"
#include "core/macros/MacroFile.h"
#include "core/protocol/Protocol.h"

Cmacdoc& macroDoc() {
    return coreState().Get<Cmacdoc>();
}

Cmacdoc::Cmacdoc()
    : Cfdoc("Macro Files (*.mac)|*.mac||", "mac", "*.mac", "Macro", "filename",
            "Do you wish to save new Macros?") {}

void Cmacdoc::Append(const std::string& name, const std::string& text) {
    m_names.push_back(name);
    m_texts.push_back(text);
    SetModifiedFlag();
    ui().KickIdle();
}

void Cmacdoc::Replace(int i, const std::string& name, const std::string& text) {
    if (i < 0 || i >= count())
        return;
    m_names[static_cast<size_t>(i)] = name;
    m_texts[static_cast<size_t>(i)] = text;
    SetModifiedFlag();
    ui().KickIdle();
}

void Cmacdoc::Remove(int i) {
    if (i < 0 || i >= count())
        return;
    m_names.erase(m_names.begin() + i);
    m_texts.erase(m_texts.begin() + i);
    SetModifiedFlag();
    ui().KickIdle();
}

bool Cmacdoc::RunMacro(int i) {
    if (i < 0 || i >= count())
        return false;
    std::ostream& stream = protocol().ControllerStream;
    stream.clear();
    // Copy: the set may change while the stream waits and events are handled.
    const std::string text = m_texts[static_cast<size_t>(i)];
    stream << text << '\n';
    const bool ok = stream.good();
    stream.clear();
    return ok;
}

bool Cmacdoc::OnNewDocument() {
    DeleteContents();
    return Cfdoc::OnNewDocument();
}

bool Cmacdoc::OnOpenDocument(const std::string& path) {
    DeleteContents();
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    const bool ok = macfile::ReadMacroFile(bytes, m_names, m_texts);
    ui().KickIdle();
    if (!ok) {
        ui().ShowMessage("Cannot read file " + path);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool Cmacdoc::OnSaveDocument(const std::string& path) {
    return WriteWholeFile(path, macfile::WriteMacroFile(m_names, m_texts));
}

void Cmacdoc::DeleteContents() {
    m_names.clear();
    m_texts.clear();
    ui().KickIdle();
}
