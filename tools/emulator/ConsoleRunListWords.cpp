// The console's RUN-LIST words: declarations of places and routes, reserving lines, and the place
// commands of the places window.
#include "ConsoleModel.h"

void ConsoleModel::RegisterRunListWords() {
    Builtin("PLACE", [this] {
        std::string name = ParseName();
        bool cartesian = VariableByte("CARTMODE") != 0;
        auto entry = m_runList.DeclarePlace(cartesian, m_arm.Position(cartesian));
        if (!entry)
            Fail();
        DefineWord(name, WordKind::Place, *entry);
    });
    // "SUB" makes the ROUTE declared next on the same line a relative one.
    Builtin("SUB", [this] { m_relativeNext = true; });
    Builtin("ROUTE", [this] {
        std::string name = ParseName();
        bool relative = m_relativeNext;
        m_relativeNext = false;
        auto entry = m_runList.DeclareRoute(VariableByte("CARTMODE") != 0, relative);
        if (!entry)
            Fail();
        DefineWord(name, WordKind::Route, *entry);
    });
    // "lines RESERVE" grows the route declared last; "route lines RESERVE" grows or shrinks that route.
    Builtin("RESERVE", [this] {
        int lines = Pop();
        uint16_t route = 0;
        if (!m_stack.empty() && m_runList.IsEntry(uint16_t(m_stack.back())))
            route = uint16_t(Pop());
        else if (auto last = m_runList.LastDeclared())
            route = *last;
        if (route == 0 || m_runList.Kind(route) != RunListStore::kRoute)
            Fail();
        uint16_t oldLink = m_runList.Link(route);
        if (!m_runList.Resize(route, lines))
            Fail();
        ShiftBindings(oldLink, m_runList.Link(route) - oldLink);
    });
    Builtin("PLEARN", [this] {
        const Word* word = m_dictionary.Find(ParseName());
        if (!word || word->kind != WordKind::Place)
            Fail();
        StoreLearned(m_memory.SystemWord(word->ParameterAddress()), 1, 0xFFFF);
    });
    // APPROACH: the approach record takes the present position less the place's position.
    Builtin("APPROACH", [this] {
        const Word* word = m_dictionary.Find(ParseName());
        if (!word || word->kind != WordKind::Place)
            Fail();
        uint16_t place = m_memory.SystemWord(word->ParameterAddress());
        StoreLearned(place, 2, 0xFFFF);
        AxisValues position = m_runList.Values(place + 16u);
        AxisValues approach = m_runList.Values(place + 32u);
        for (size_t i = 0; i < approach.size(); ++i)
            approach[i] = int16_t(approach[i] - position[i]);
        m_runList.StorePosition(place + 32u, approach, 6, m_runList.Field(place, 32 + 12));
    });
    Builtin("'NEAR", [this] {
        const Word* word = m_dictionary.Find(ParseName());
        if (!word || word->kind != WordKind::Place)
            Fail();
        Push(m_memory.SystemWord(word->ParameterAddress()));
        Push(0);
    });
}

void ConsoleModel::ShiftBindings(uint16_t from, int delta) {
    if (delta == 0)
        return;
    if (m_padRoute >= from)
        m_padRoute = uint16_t(m_padRoute + delta);
    for (const Word& word : m_dictionary.Words()) {
        if (word.kind != WordKind::Place && word.kind != WordKind::Route)
            continue;
        uint16_t entry = m_memory.SystemWord(word.ParameterAddress());
        if (entry >= from)
            m_memory.SetSystemWord(word.ParameterAddress(), uint16_t(entry + delta));
    }
}

uint16_t ConsoleModel::PopEntry(uint16_t kind) {
    uint16_t entry = uint16_t(Pop());
    if (!m_runList.IsEntry(entry) || (kind != 0 && m_runList.Kind(entry) != kind))
        Fail();
    return entry;
}

void ConsoleModel::CheckLine(uint16_t route, int line) const {
    if (line < 1 || line > m_runList.Count(route))
        Fail();
}

// Writes the present position into a record of the entry (a route line, or a place's record 1 or 2) in
// the form the record's code asks for; `code` 0xFFFF keeps the code already there.
void ConsoleModel::StoreLearned(uint16_t entry, int line, uint16_t code) {
    uint32_t address = m_runList.LineAddress(entry, line);
    uint16_t recordCode = code == 0xFFFF ? m_memory.Word(RunListStore::kBank, address + 12) : code;
    bool cartesian = (recordCode & 2) != 0;
    m_runList.StorePosition(address, m_arm.Position(cartesian), ValueCount(cartesian), recordCode);
}

void ConsoleModel::MoveToRecord(uint32_t address) {
    uint16_t code = m_memory.Word(RunListStore::kBank, address + 12);
    if (code >= 16)
        return; // a function or contour line does not move the arm
    StartMotion();
    AxisValues values = m_runList.Values(address);
    bool cartesian = (code & 2) != 0;
    if (code & 1) {
        AxisValues present = m_arm.Position(cartesian);
        for (size_t i = 0; i < values.size(); ++i)
            values[i] = int16_t(values[i] + present[i]);
    }
    m_arm.MoveTo(values, cartesian);
}

void ConsoleModel::MoveToLine(uint16_t entry, int line) {
    if (m_runList.Kind(entry) == RunListStore::kPlace) {
        // Line 0 of a place is its approach: the place's position offset by the approach.
        MoveToRecord(entry + 16u);
        if (line == 0)
            MoveToRecord(entry + 32u);
        return;
    }
    CheckLine(entry, line);
    MoveToRecord(m_runList.LineAddress(entry, line));
}

// A download of the RUN-LIST of `length` bytes (the list up to its end): the list ends there, even
// when the last block stopped short of the terminating word. Its entries may have moved, so the
// declared places and routes are bound again, in the order of their declarations, to its entries, and
// NEXT follows the last one bound.
void ConsoleModel::RunListReceived(uint32_t length) {
    if (length + 2 <= EmulatorMemory::kBankSize)
        m_memory.SetWord(RunListStore::kBank, length, 0);
    uint16_t entry = RunListStore::kHeadLink;
    for (const Word& word : m_dictionary.Words()) {
        if (word.kind != WordKind::Place && word.kind != WordKind::Route)
            continue;
        uint16_t link = m_runList.Link(entry);
        if (link == 0 || link <= entry)
            break;
        m_memory.SetSystemWord(word.ParameterAddress(), entry);
        entry = link;
    }
    m_runList.SetNext(entry);
}
