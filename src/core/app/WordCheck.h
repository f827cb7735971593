#pragma once

#include "core/app/WordTable.h"

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

// The word conflict check: the names of a project's places and routes and the words its source
// defines are checked against the controller's own words ("KXWords.txt") and against each other.
class WordCheck {
public:
    enum class Outcome { Failed, NoConflicts, Conflicts };

    static constexpr const char* kWordListName = "KXWords.txt";
    static constexpr const char* kKaventrixConflict = " redefines a Kaventrix word\n";
    static constexpr const char* kProjectConflict = " redefines a project word\n";

    // Adds the records of a word list to a table: each record starts after a run of blanks and line
    // ends; its sixth character is the word's length as one hex digit, its name starts at the eighth,
    // and the next record is looked for 19 characters after its start.
    static void ParseWordList(const QByteArray& bytes, WordTable& table);

    // Reads the controller's word list from `directory`; shows the file error and leaves the table
    // empty when it cannot be read.
    bool LoadControllerWords(const QString& directory);

    // Checks one word against both tables, writes any conflict to `report` and remembers the word.
    void CheckWord(const std::string& word, std::string& report);
    // Checks the entry names, then every word the source defines. Returns the report text.
    std::string CheckProject(const std::vector<std::string>& names, const std::string& source);

    // The whole check on files: reads the source at `ed2Path`, writes the report "conflicts.txt"
    // beside it (lines ending in CR LF) and tells whether anything was found. File errors are shown.
    Outcome CheckFiles(const std::vector<std::string>& names, const std::string& ed2Path);
    static std::string ReportPath(const std::string& ed2Path);

    WordTable& controllerTable() { return m_controller; }
    bool conflictFound() const { return m_conflict; }

private:
    static bool IsDefiningWord(const std::string& token);

    WordTable m_controller;
    WordTable m_project;
    bool m_conflict = false;
};

// The program's one check, with the controller table it loaded at start-up.
WordCheck& wordCheck();
// Start-up step: loads "KXWords.txt" from the executable's directory, or from the data folder of an
// installed program (DataFolder).
void LoadControllerWordList();
