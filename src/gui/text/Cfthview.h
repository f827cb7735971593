#pragma once

#include "core/app/FontDescription.h"
#include "gui/app/ViewCommandTarget.h"
#include "gui/text/CFindReplaceDlg.h"

#include <QPlainTextEdit>
#include <QPointer>

class CFTDoc;

// The editor window of a text document: a plain-text edit that discards Tab and opens the main
// window's "&Edit" menu on the right mouse button. It handles the File commands of the active
// document (Close, Save, Save As, Download Current), the Edit commands and "&Font...".
class Cfthview : public QPlainTextEdit, public ViewCommandTarget {
    Q_OBJECT
public:
    // Takes the document over.
    explicit Cfthview(CFTDoc* doc, QWidget* parent = nullptr);

    CFTDoc* doc() const { return m_doc; }
    // True once the window has agreed to close; it is no longer a document anyone can find.
    bool closed() const { return m_closed; }

    bool HandlesCommand(int id) const override;
    bool CommandEnabled(int id) const override;
    void RunCommand(int id) override;

    // Saves to the document's path (asking one when it has none); false when not saved.
    bool Save();
    // Asks a file name and saves under it; the document takes that name.
    bool SaveAs();
    // Saves and then sends the file to the controller line by line.
    void DownloadCurrent();
    // The font dialog (fixed-pitch fonts), preset with the editor's font; the choice applies to this
    // window and is remembered for the windows opened later.
    void ChooseFont();
    // Selects line `line` (from 1) and scrolls it into view.
    void ShowLine(int line);
    // Closes the window without the save question.
    void CloseWithoutQuestion();
    // The save question of a window with unsaved edits ("Save changes to ...?"); Yes saves. False
    // when the operator cancelled or the save failed: the window must stay.
    bool AskSaveChanges();
    // Opens the "Find" or "Replace" box.
    void OpenSearch(bool replace);
    CFindReplaceDlg* searchBox() const { return m_search; }

    // The editor's font description, one for all text windows ("edit"/"Font").
    static FontDescription& editFont();
    static void LoadEditFont();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void UpdateTitle();
    void FindNext();
    void CloseWindow();
    bool ReportSaveFailure(const QString& path, const QString& error);

    CFTDoc* m_doc;
    QPointer<CFindReplaceDlg> m_search;
    bool m_closed = false;
    bool m_ask = true;
};
