#pragma once

#include "core/base/Cfdoc.h"

#include <string>
#include <vector>

// The macro set: named pieces of controller text kept in a .mac file. Macro i is (name i, text i);
// its place in the set is its place on the macro bar. The set lives for the whole run.
class Cmacdoc : public Cfdoc {
public:
    static constexpr int kNameLength = 32;
    static constexpr int kBarButtons = 10;

    Cmacdoc();

    int count() const { return static_cast<int>(m_names.size()); }
    const std::string& name(int i) const { return m_names[static_cast<size_t>(i)]; }
    const std::string& text(int i) const { return m_texts[static_cast<size_t>(i)]; }

    // Edits; each marks the set modified.
    void Append(const std::string& name, const std::string& text);
    void Replace(int i, const std::string& name, const std::string& text);
    void Remove(int i);

    // Sends text i and one "\n" through the controller stream: each line end sends CR and waits for
    // the reply, and the first refused line ends the macro. True when every line was accepted.
    bool RunMacro(int i);

protected:
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    void DeleteContents() override;

private:
    std::vector<std::string> m_names;
    std::vector<std::string> m_texts;
};

// The program's one macro set.
Cmacdoc& macroDoc();
