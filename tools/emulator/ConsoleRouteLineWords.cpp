// The console's route-line words: learning, inserting, deleting and replacing lines, function lines,
// and driving the arm along a route.
#include "ConsoleModel.h"

void ConsoleModel::RegisterRouteLineWords() {
    Builtin("LINE", [this] {
        int line = Pop();
        uint16_t entry = PopEntry(0);
        Push(int32_t(m_runList.LineAddress(entry, line)));
    });
    Builtin("LEARN", [this] {
        uint16_t route = PopEntry(RunListStore::kRoute);
        bool cartesian = m_runList.Mode(route) != 0;
        uint16_t code = uint16_t(m_runList.Mode(route) * 2);
        if (!m_runList.AppendPosition(route, m_arm.Position(cartesian), ValueCount(cartesian), code))
            Fail();
    });
    Builtin("RLEARN", [this] {
        uint16_t route = PopEntry(RunListStore::kRoute);
        bool cartesian = m_runList.Mode(route) != 0;
        uint16_t code = uint16_t(m_runList.Mode(route) * 2 + 1);
        if (!m_runList.AppendPosition(route, m_arm.Position(cartesian), ValueCount(cartesian), code))
            Fail();
    });
    Builtin("INSERT", [this] {
        int line = Pop();
        uint16_t route = PopEntry(RunListStore::kRoute);
        bool cartesian = m_runList.Mode(route) != 0;
        uint16_t code = uint16_t(m_runList.Mode(route) * 2);
        if (!m_runList.InsertPosition(route, line, m_arm.Position(cartesian), ValueCount(cartesian), code))
            Fail();
    });
    Builtin("DELETE", [this] {
        int line = Pop();
        uint16_t route = PopEntry(RunListStore::kRoute);
        if (!m_runList.DeleteLine(route, line))
            Fail();
    });
    // REPLACE re-teaches an absolute position line; relative and function lines stay as they are.
    Builtin("REPLACE", [this] {
        int line = Pop();
        uint16_t route = PopEntry(RunListStore::kRoute);
        CheckLine(route, line);
        uint16_t code = m_runList.Field(route, line * 16 + 12);
        if (code < 16 && (code & 1) == 0)
            StoreLearned(route, line, code);
    });
    Builtin("GOTO", [this] {
        int line = Pop();
        MoveToLine(PopEntry(0), line);
    });
    Builtin("NEAR", [this] {
        int line = Pop();
        MoveToLine(PopEntry(0), line);
    });
    Builtin("RUN", [this] {
        uint16_t route = PopEntry(RunListStore::kRoute);
        for (int line = 1; line <= m_runList.Count(route); ++line)
            MoveToRecord(m_runList.LineAddress(route, line));
    });
    // Function lines: "route n 'INSERT word parameter PURGE" and its 'LEARN and 'REPLACE forms. The tick
    // word names the word to call; PURGE takes the parameter and writes the line.
    auto tick = [this](PendingFunction::Kind kind) {
        PendingFunction pending{kind, 0, 0, 0};
        if (kind != PendingFunction::Kind::Learn)
            pending.line = Pop();
        pending.route = PopEntry(RunListStore::kRoute);
        std::string name = ParseName();
        const Word* word = m_dictionary.Find(name);
        if (!word)
            throw WordError{name};
        pending.word = word->address;
        m_pendingFunction = pending;
    };
    Builtin("'INSERT", [tick] { tick(PendingFunction::Kind::Insert); });
    Builtin("'LEARN", [tick] { tick(PendingFunction::Kind::Learn); });
    Builtin("'REPLACE", [tick] { tick(PendingFunction::Kind::Replace); });
    Builtin("PURGE", [this] { CompleteFunction(Pop()); });
}

void ConsoleModel::CompleteFunction(int32_t parameter) {
    if (!m_pendingFunction)
        return;
    PendingFunction pending = *m_pendingFunction;
    m_pendingFunction.reset();
    int line = pending.line;
    if (pending.kind == PendingFunction::Kind::Learn)
        line = m_runList.Count(pending.route) + 1;
    if (pending.kind == PendingFunction::Kind::Replace)
        CheckLine(pending.route, line);
    else if (!m_runList.OpenSlot(pending.route, line))
        Fail();
    uint32_t address = m_runList.LineAddress(pending.route, line);
    m_memory.SetWord(RunListStore::kBank, address, uint16_t(parameter));
    m_memory.SetWord(RunListStore::kBank, address + 12, pending.word);
}

void ConsoleModel::PadSignal(bool learn) {
    uint16_t route = m_padRoute;
    if (route != 0 && m_runList.IsEntry(route) && m_runList.Kind(route) == RunListStore::kRoute) {
        bool cartesian = m_runList.Mode(route) != 0;
        if (learn) // a full route takes nothing
            m_runList.AppendPosition(route, m_arm.Position(cartesian), ValueCount(cartesian),
                                     uint16_t(m_runList.Mode(route) * 2));
        else if (m_runList.Count(route) > 0)
            m_runList.SetField(route, 6, uint16_t(m_runList.Count(route) - 1));
    }
    Emit(learn ? "$" : "%");
}
