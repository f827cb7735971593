// The console's dictionary words: definitions, FORGET, STARTOVER and NEW, and the words that look
// others up.
#include "ConsoleModel.h"

void ConsoleModel::RegisterDefiningWords() {
    auto startDefinition = [this](const std::string& end) {
        m_definitionName = ParseName();
        m_definitionEnd = end;
        m_definitionBody.clear();
        m_compiling = true;
    };
    Builtin(":", [startDefinition] { startDefinition(";"); });
    Builtin("CODE", [startDefinition] { startDefinition("END-CODE"); });
    Builtin("VARIABLE", [this] { DefineVariable(ParseName(), 0); });
    Builtin("CREATE", [this] { DefineVariable(ParseName(), 0); });
    Builtin("USER", [this] { DefineVariable(ParseName(), 0); });
    Builtin("USARRAY", [this] {
        std::string name = ParseName();
        if (!m_stack.empty())
            Pop();
        DefineVariable(name, 0);
    });
    Builtin("CONSTANT", [this] {
        int32_t value = Pop();
        DefineWord(ParseName(), WordKind::Constant, uint16_t(value));
    });
    Builtin("IMMEDIATE", [] {});
    Builtin("FORGET", [this] { ForgetWord(ParseName()); });
    // STARTOVER drops the project's words; the declarations that follow bind to the RUN-LIST from its
    // first entry again. NEW also empties the RUN-LIST.
    Builtin("STARTOVER", [this] {
        m_dictionary.ForgetUserWords();
        m_runList.RestartBinding();
        m_relativeNext = false;
        m_pendingFunction.reset();
    });
    Builtin("NEW", [this] {
        m_dictionary.ForgetUserWords();
        m_runList.Init();
        m_padRoute = 0;
    });
    Builtin("'", [this] {
        std::string name = ParseName();
        const Word* word = m_dictionary.Find(name);
        if (!word)
            throw WordError{name};
        Push(word->ParameterAddress());
    });
    Builtin("FIND", [this] {
        const Word* word = m_dictionary.Find(ParseName());
        Push(word ? word->address : 0);
    });
    Builtin("NAME", [this] {
        const Word* word = m_dictionary.FindByNameAddress(uint16_t(Pop()));
        if (!word)
            Fail();
        Answer(word->name + " ");
    });
    Builtin("WORDS", [this] {
        for (const Word& word : m_dictionary.Words())
            Answer(word.name + " ");
    });
}

void ConsoleModel::ForgetWord(const std::string& name) {
    int index = m_dictionary.IndexOf(name);
    if (index < 0 || m_dictionary.IsBuiltin(index))
        throw WordError{name};
    const Word& word = m_dictionary.Words()[size_t(index)];
    if (word.kind == WordKind::Place || word.kind == WordKind::Route) {
        uint16_t entry = m_memory.SystemWord(word.ParameterAddress());
        if (entry >= RunListStore::kHeadLink && entry <= m_runList.Next()) {
            m_runList.Forget(entry);
            if (m_padRoute >= entry)
                m_padRoute = 0;
        }
    }
    m_dictionary.ForgetFrom(index);
}
