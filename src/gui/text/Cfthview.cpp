#include "gui/text/Cfthview.h"

#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/base/UiSeam.h"
#include "core/protocol/Protocol.h"
#include "core/text/SourceDownload.h"
#include "gui/app/FontConversion.h"
#include "gui/text/CFTDoc.h"
#include "gui/text/CFindReplaceDlg.h"
#include "gui/text/TextSearch.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTextBlock>
#include <QTextDocument>

namespace {
const char* const kFontSection = "edit";
constexpr int kEditMenuIndex = 1;
} // namespace

FontDescription& Cfthview::editFont() {
    static FontDescription description;
    return description;
}

void Cfthview::LoadEditFont() {
    editFont() = FontDescription::Load(kFontSection);
}

Cfthview::Cfthview(CFTDoc* doc, QWidget* parent) : QPlainTextEdit(parent), m_doc(doc) {
    m_doc->setParent(this);
    setDocument(m_doc->document());
    setLineWrapMode(QPlainTextEdit::NoWrap);
    if (editFont().height != 0)
        setFont(ToQFont(editFont()));
    UpdateTitle();
    connect(m_doc, &CFTDoc::pathChanged, this, &Cfthview::UpdateTitle);
    connect(document(), &QTextDocument::modificationChanged, this, [this](bool modified) {
        setWindowModified(modified);
        ui().KickIdle();
    });
    // Cut, copy, paste and undo follow the selection and the undo history.
    connect(this, &QPlainTextEdit::copyAvailable, this, [] { ui().KickIdle(); });
    connect(this, &QPlainTextEdit::undoAvailable, this, [] { ui().KickIdle(); });
}

void Cfthview::UpdateTitle() {
    const QString title = m_doc->title();
    setWindowTitle((title.isEmpty() ? QString("Untitled") : title) + "[*]");
    setWindowModified(m_doc->IsModified());
}

bool Cfthview::HandlesCommand(int id) const {
    switch (id) {
    case ID_FILE_CLOSE:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_FILE_DOWNLOAD_CURRENT:
    case ID_EDIT_UNDO:
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_PASTE:
    case ID_EDIT_CLEAR:
    case ID_EDIT_FIND:
    case ID_EDIT_REPEAT:
    case ID_EDIT_REPLACE:
    case ID_SETTINGS_FONT:
        return true;
    default:
        return false;
    }
}

bool Cfthview::CommandEnabled(int id) const {
    switch (id) {
    case ID_FILE_SAVE:
        return m_doc->IsModified();
    case ID_FILE_DOWNLOAD_CURRENT:
        return LinkReady();
    case ID_EDIT_UNDO:
        return document()->isUndoAvailable();
    case ID_EDIT_CUT:
    case ID_EDIT_CLEAR:
        return textCursor().hasSelection() && !isReadOnly();
    case ID_EDIT_COPY:
        return textCursor().hasSelection();
    case ID_EDIT_PASTE:
        return canPaste();
    case ID_EDIT_REPEAT:
        return !textSearch().what.isEmpty();
    default:
        return true;
    }
}

void Cfthview::RunCommand(int id) {
    switch (id) {
    case ID_FILE_CLOSE:
        CloseWindow();
        break;
    case ID_FILE_SAVE:
        Save();
        break;
    case ID_FILE_SAVE_AS:
        SaveAs();
        break;
    case ID_FILE_DOWNLOAD_CURRENT:
        DownloadCurrent();
        break;
    case ID_EDIT_UNDO:
        undo();
        break;
    case ID_EDIT_CUT:
        cut();
        break;
    case ID_EDIT_COPY:
        copy();
        break;
    case ID_EDIT_PASTE:
        paste();
        break;
    case ID_EDIT_CLEAR:
        textCursor().removeSelectedText();
        break;
    case ID_EDIT_FIND:
        OpenSearch(false);
        break;
    case ID_EDIT_REPEAT:
        FindNext();
        break;
    case ID_EDIT_REPLACE:
        OpenSearch(true);
        break;
    case ID_SETTINGS_FONT:
        ChooseFont();
        break;
    default:
        break;
    }
}

bool Cfthview::ReportSaveFailure(const QString& path, const QString& error) {
    ui().ShowMessage(path.toStdString() +
                     " could not be saved because of this error: " + error.left(255).toStdString());
    return false;
}

bool Cfthview::Save() {
    if (m_doc->path().isEmpty())
        return SaveAs();
    QString error;
    if (!m_doc->Write(m_doc->path(), &error))
        return ReportSaveFailure(m_doc->path(), error);
    return true;
}

bool Cfthview::SaveAs() {
    const std::string chosen =
        ui().AskSaveFileName("Save As", kSourceFileFilter, "", m_doc->path().toStdString());
    if (chosen.empty())
        return false;
    const QString path = QString::fromStdString(chosen);
    QString error;
    if (!m_doc->Write(path, &error))
        return ReportSaveFailure(path, error);
    return true;
}

void Cfthview::DownloadCurrent() {
    if (Save())
        DownloadFileWithReport(m_doc->path().toStdString());
}

void Cfthview::ChooseFont() {
    bool ok = false;
    // The dialog starts from the editor's remembered font, which this window may no longer show.
    const QFont chosen =
        QFontDialog::getFont(&ok, ToQFont(editFont()), this, "Font", QFontDialog::MonospacedFonts);
    if (!ok)
        return;
    setFont(chosen);
    editFont() = FromQFont(chosen, editFont());
    editFont().Save(kFontSection);
}

void Cfthview::ShowLine(int line) {
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    centerCursor();
    setFocus();
}

void Cfthview::OpenSearch(bool replace) {
    if (m_search)
        m_search->close();
    m_search = new CFindReplaceDlg(*this, replace);
    m_search->setAttribute(Qt::WA_DeleteOnClose);
    m_search->show();
}

void Cfthview::FindNext() {
    if (!textSearch().FindNext(*this))
        ui().ShowMessage("Cannot find \"" + textSearch().what.toStdString() + "\"");
}

void Cfthview::CloseWindow() {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void Cfthview::CloseWithoutQuestion() {
    m_ask = false;
    CloseWindow();
    m_ask = true;
}

void Cfthview::keyPressEvent(QKeyEvent* event) {
    // Tab inserts nothing in source text; with Ctrl it is left to the window area (next window).
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        if (event->modifiers() & Qt::ControlModifier)
            event->ignore();
        else
            event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void Cfthview::contextMenuEvent(QContextMenuEvent* event) {
    auto* frame = qobject_cast<QMainWindow*>(window());
    const QList<QAction*> menus = frame && frame->menuBar() ? frame->menuBar()->actions() : QList<QAction*>();
    if (menus.size() > kEditMenuIndex && menus.at(kEditMenuIndex)->menu()) {
        menus.at(kEditMenuIndex)->menu()->exec(event->globalPos());
        return;
    }
    QPlainTextEdit::contextMenuEvent(event);
}

bool Cfthview::AskSaveChanges() {
    if (!m_doc->IsModified())
        return true;
    const std::string name = m_doc->title().isEmpty() ? "Untitled" : m_doc->title().toStdString();
    switch (ui().AskYesNoCancel("Save changes to " + name + "?")) {
    case Answer::Yes:
        return Save();
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

void Cfthview::closeEvent(QCloseEvent* event) {
    if (m_ask && !AskSaveChanges()) {
        event->ignore();
        return;
    }
    m_closed = true;
    if (m_search)
        m_search->close();
    event->accept();
    ui().KickIdle();
}
