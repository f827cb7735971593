// The text windows in the main window: every byte of a file kept, the File and Edit commands on the
// active window, search and replace, the questions about unsaved text, the windows as the project and
// the downloads see them, and the binary block commands.
#include "gui/text/TextWindows.h"
#include "core/base/CommandIds.h"
#include "gui/text/BinaryCommands.h"
#include "gui/text/CFTDoc.h"
#include "gui/text/CFindReplaceDlg.h"
#include "gui/text/Cbinblk.h"
#include "gui/text/Cfthview.h"
#include "gui/text/TextCommands.h"
#include "gui/text/TextSearch.h"
#include "support/EmulatedController.h"
#include "support/ScriptedUi.h"
#include "support/ShellFixture.h"
#include "support/TestFiles.h"
#include "support/WindowTest.h"

#include <memory>

class TextWindowsTest : public ShellTest {
    Q_OBJECT
private slots:

    void everyByteIsKeptAndTypedLinesTakeTheFilesLineEnd() {
        const QByteArray bytes("CR LF\r\nLF only\ncr only\rhigh \xe4\xa0\x80\xff\ttab\r\n\r\nlast");
        Cfthview* view = Open("bytes.ed2", bytes);
        QCOMPARE(view->doc()->Bytes(), bytes);
        QTest::keyClick(view, Qt::Key_Tab); // inserts nothing
        QVERIFY(!view->doc()->IsModified());
        view->moveCursor(QTextCursor::End);
        QTest::keyClick(view, Qt::Key_Return);
        view->textCursor().insertText(QString::fromUtf8("\xe2\x82\xac")); // beyond a byte: UTF-8
        view->RunCommand(ID_FILE_SAVE);
        QCOMPARE(ReadTestFile(m_shell.Path("bytes.ed2")), bytes + "\r\n\xe2\x82\xac");
        m_shell.frame->UpdateCommandStates();
        QVERIFY(!m_shell.frame->action(ID_FILE_SAVE)->isEnabled());
    }

    void openingAnOpenFileActivatesItAndAMissingOneIsCreatedOnlyOnYes() {
        Cfthview* a = Open("a.ed2", "a");
        Open("b.ed2", "b");
        QVERIFY(textWindows()->OpenOrActivateTextFile(m_shell.dir.path().toStdString() + "/./a.ed2"));
        QCOMPARE(textWindows()->ActiveTextWindow(), a);
        ScriptedUi ui;
        const std::string missing = m_shell.Path("new.ed2");
        QVERIFY(!textWindows()->OpenOrActivateTextFile(missing));
        QCOMPARE(ui.questions.back(), missing + " does not exist. Would you like to create it?");
        ui.answers = {Answer::Yes};
        QVERIFY(textWindows()->OpenOrActivateTextFile(missing));
        QCOMPARE(ReadTestFile(missing), QByteArray());
    }

    void findWrapsFollowsTheCaseAndReplaceAllUndoesInOneStep() {
        ScriptedUi ui;
        Cfthview* view = Open("find.ed2", "alpha beta Alpha\ngamma alpha");
        textSearch() = TextSearch();
        textSearch().what = "alpha";
        QList<int> starts;
        for (bool matchCase : {false, false, false, false, true, false}) {
            textSearch().matchCase = matchCase;
            view->RunCommand(ID_EDIT_REPEAT);
            starts << view->textCursor().selectionStart();
        }
        QCOMPARE(starts, (QList<int>{0, 11, 23, 0, 23, 0}));
        view->OpenSearch(true);
        CFindReplaceDlg* box = view->searchBox();
        box->whatField()->setText("alpha");
        box->withField()->setText("over");
        box->FindNext();
        box->Replace();
        box->ReplaceAll();
        QCOMPARE(view->toPlainText().count("over"), 3);
        view->RunCommand(ID_EDIT_UNDO);
        QCOMPARE(view->toPlainText().count("over"), 1);
        box->whatField()->setText("zzz");
        box->ReplaceAll();
        QCOMPARE(ui.messages.back(), std::string("Cannot find \"zzz\""));
    }

    void unsavedTextIsAskedAboutWhenItsWindowOrTheProgramCloses() {
        ScriptedUi ui;
        InstallScreen({&ui, nullptr, textWindows()});
        Cfthview* view = Open("close.ed2", "text");
        QTest::keyClicks(view, "new ");
        ui.answers = {Answer::Cancel, Answer::No};
        view->RunCommand(ID_FILE_CLOSE);
        QVERIFY(textWindows()->IsOpen(m_shell.Path("close.ed2")));
        view->RunCommand(ID_FILE_CLOSE);
        QVERIFY(!textWindows()->IsOpen(m_shell.Path("close.ed2")));
        QCOMPARE(ReadTestFile(m_shell.Path("close.ed2")), QByteArray("text"));

        // At exit every question comes first, in the order the windows opened: Cancel on the second
        // leaves both open.
        QTest::keyClicks(Open("first.ed2", "one"), "edit ");
        QTest::keyClicks(Open("exit.ed2", "keep"), "edit ");
        ui.questions.clear();
        ui.answers = {Answer::No, Answer::Cancel};
        QVERIFY(!m_shell.frame->close());
        QCOMPARE(ui.questions,
                 (std::vector<std::string>{"Save changes to first.ed2?", "Save changes to exit.ed2?"}));
        QVERIFY(textWindows()->IsOpen(m_shell.Path("first.ed2")) &&
                textWindows()->IsOpen(m_shell.Path("exit.ed2")));
        ui.answers = {Answer::No, Answer::Yes};
        QVERIFY(m_shell.frame->close());
        QCOMPARE(ReadTestFile(m_shell.Path("first.ed2")), QByteArray("one"));
        QCOMPARE(ReadTestFile(m_shell.Path("exit.ed2")), QByteArray("edit keep"));
    }

    void theProjectAndTheDownloadsSeeTheWindows() {
        const std::string path = m_shell.Path("proj.ED2");
        Cfthview* view = Open("proj.ED2", "1 2 +\nBAD WORD\n3 4 +\n");
        QTest::keyClicks(view, "7 ");
        QVERIFY(textWindows()->IsModified(path));
        const std::string renamed = m_shell.Path("other.ED2");
        QVERIFY(textWindows()->SaveAs(path, renamed));
        QVERIFY(!textWindows()->IsOpen(path) && textWindows()->IsOpen(renamed));
        QCOMPARE(view->windowTitle(), QString("other.ED2[*]"));

        // "Download Current" saves the window and sends it; the refused line is shown selected.
        ScriptedUi ui;
        EmulatedController controller(&ui);
        commLink().Simulate = false;
        commLink().HideMode = false;
        commLink().SetTransport(&controller);
        const std::shared_ptr<void> unplug(nullptr, [](void*) { commLink().SetTransport(nullptr); });
        protocol().ReplyState = reply::kIdle;
        ScreenScope screen({&ui, nullptr, textWindows()});
        QTest::keyClicks(view, "1 ");
        m_shell.frame->UpdateCommandStates();
        m_shell.frame->action(ID_FILE_DOWNLOAD_CURRENT)->trigger();
        QCOMPARE(ReadTestFile(renamed), QByteArray("7 1 1 2 +\nBAD WORD\n3 4 +\n"));
        QCOMPARE(view->textCursor().selectedText(), QString("BAD WORD"));
        QCOMPARE(textWindows()->ActiveTextWindow(), view);
    }

    void theBinaryCommandsRememberTheRangeButNotTheBank() {
        ScriptedUi ui;
        ui.fileNames = {m_shell.Path("mem.ram")};
        QStringList shown;
        // Saving answers the block dialog with bank, start and length; loading cancels it, which ends the
        // command before the file dialog.
        for (const auto& [command, values] :
             {std::pair{&SaveBinary, QStringList{"2", "1000", "200"}}, {&LoadBinary, QStringList{}}}) {
            WhenModal<Cbinblk>([&shown, values = values](Cbinblk& d) {
                for (int i = 0; i < 3; ++i) {
                    auto* field = d.findChild<QLineEdit*>(QStringList{"bank", "start", "length"}[i]);
                    shown << field->text();
                    field->setText(values.value(i, field->text()));
                }
                if (!values.isEmpty())
                    d.accept(); // none: left open, so rejected
            });
            command(nullptr);
        }
        QVERIFY(TestFileExists(m_shell.Path("mem.ram")));
        QCOMPARE(shown, (QStringList{"0", "4000", "6000", "0", "1000", "200"}));
        QCOMPARE(ui.fileDialogs, std::vector<std::string>{"Save As|Binary files (*.ram)|*.ram|||ram|*.ram"});
    }

private:
    Cfthview* Open(const char* name, const QByteArray& bytes) {
        WriteTestFile(m_shell.Path(name), bytes);
        return textWindows()->OpenOrActivateTextFile(m_shell.Path(name))
                   ? textWindows()->FindTextDocument(m_shell.Path(name))
                   : nullptr;
    }
};

MARLIX_WINDOW_TEST(TextWindowsTest)
#include "TextWindowsTest.moc"
