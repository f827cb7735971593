#pragma once

#include <QString>

class QPlainTextEdit;

// Find and replace in a text window. One search is kept for all text windows, so "Find next" goes on
// with the last text searched for in any of them.
struct TextSearch {
    QString what;
    QString with;
    bool matchCase = false;
    bool down = true;

    // Selects the next occurrence after the selection (before it when searching up), starting over at
    // the other end of the text once. False when there is none.
    bool FindNext(QPlainTextEdit& edit) const;
    // Replaces the selection when it is an occurrence, then selects the next one. False when no
    // occurrence is left.
    bool ReplaceCurrent(QPlainTextEdit& edit) const;
    // Replaces every occurrence as one step that a single undo takes back; returns how many.
    int ReplaceAll(QPlainTextEdit& edit) const;
};

// The search of the program.
TextSearch& textSearch();
