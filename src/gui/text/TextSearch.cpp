#include "gui/text/TextSearch.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QTextDocument::FindFlags Flags(const TextSearch& search, bool forward) {
    QTextDocument::FindFlags flags;
    if (search.matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (!forward)
        flags |= QTextDocument::FindBackward;
    return flags;
}

bool IsOccurrence(const TextSearch& search, const QTextCursor& cursor) {
    if (!cursor.hasSelection())
        return false;
    const Qt::CaseSensitivity cs = search.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    return cursor.selectedText().compare(search.what, cs) == 0;
}

} // namespace

TextSearch& textSearch() {
    static TextSearch search;
    return search;
}

bool TextSearch::FindNext(QPlainTextEdit& edit) const {
    if (what.isEmpty())
        return false;
    QTextDocument* document = edit.document();
    const QTextDocument::FindFlags flags = Flags(*this, down);
    QTextCursor found = document->find(what, edit.textCursor(), flags);
    if (found.isNull()) {
        QTextCursor wrap(document);
        wrap.movePosition(down ? QTextCursor::Start : QTextCursor::End);
        found = document->find(what, wrap, flags);
    }
    if (found.isNull())
        return false;
    edit.setTextCursor(found);
    return true;
}

bool TextSearch::ReplaceCurrent(QPlainTextEdit& edit) const {
    QTextCursor cursor = edit.textCursor();
    if (IsOccurrence(*this, cursor)) {
        cursor.insertText(with);
        edit.setTextCursor(cursor);
    }
    return FindNext(edit);
}

int TextSearch::ReplaceAll(QPlainTextEdit& edit) const {
    if (what.isEmpty())
        return 0;
    QTextDocument* document = edit.document();
    const QTextDocument::FindFlags flags = Flags(*this, true);
    QTextCursor step(document);
    step.beginEditBlock();
    int count = 0;
    QTextCursor found = document->find(what, 0, flags);
    while (!found.isNull()) {
        found.insertText(with);
        ++count;
        found = document->find(what, found, flags);
    }
    step.endEditBlock();
    return count;
}
