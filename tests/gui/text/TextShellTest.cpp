// The text windows inside the program's main window: the File and Edit commands reach the active text
// window, the right mouse button opens the main window's Edit menu, and closing the program asks
// about unsaved text.
#include "support/ShellTestSupport.h"

#include "core/base/CommandIds.h"
#include "core/project/CPosDat.h"
#include "gui/text/CFTDoc.h"
#include "gui/text/Cfthview.h"
#include "gui/text/TextCommands.h"
#include "gui/text/TextWindows.h"
#include "support/ScriptedUi.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QtTest>

class TextShellTest : public QObject {
    Q_OBJECT

private:
    ShellFixture shell;

    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = shell.dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
    Cfthview* Open(const QString& path) {
        TextWindows* windows = textWindows();
        return windows && windows->OpenOrActivateTextFile(path.toStdString())
                   ? windows->FindTextDocument(path.toStdString())
                   : nullptr;
    }
    static std::string ScreenText() {
        std::string text;
        const Ccom1doc* doc = commLink().document();
        for (int i = 0; doc && i < doc->GetLineCount(); ++i)
            text += doc->GetLine(i) + "\n";
        return text;
    }
    bool Enabled(int id) {
        shell.frame->UpdateCommandStates();
        return shell.frame->action(id)->isEnabled();
    }
private slots:
    void init() { shell.SetUp(); }
    void cleanup() { shell.TearDown(); }

    void fileAndEditCommandsWorkOnTheActiveTextWindow() {
        const QString path = Write("cmd.ed2", "one\r\n");
        Cfthview* view = Open(path);
        QVERIFY(view);
        QVERIFY(!Enabled(ID_FILE_SAVE));
        QVERIFY(!Enabled(ID_EDIT_UNDO));
        QTest::keyClicks(view, "new ");
        QVERIFY(Enabled(ID_FILE_SAVE));
        QVERIFY(Enabled(ID_TOOLBAR_SAVE));
        QVERIFY(Enabled(ID_EDIT_UNDO));
        shell.frame->action(ID_EDIT_UNDO)->trigger();
        QCOMPARE(view->doc()->Bytes(), QByteArray("one\r\n"));
        QTest::keyClicks(view, "two ");
        QVERIFY(Enabled(ID_TOOLBAR_SAVE));
        shell.frame->action(ID_TOOLBAR_SAVE)->trigger();
        QCOMPARE(Read(path), QByteArray("two one\r\n"));
        QVERIFY(!Enabled(ID_FILE_SAVE));
        view->selectAll();
        QVERIFY(Enabled(ID_EDIT_CUT));
        shell.frame->action(ID_EDIT_CLEAR)->trigger();
        QVERIFY(view->toPlainText().isEmpty());
    }

    void downloadCurrentSavesAndSendsTheText() {
        // Outside hide mode (a fresh profile's default) the controller echoes the lines sent.
        commLink().HideMode = false;
        const QString path = Write("send.ed2", "");
        Cfthview* view = Open(path);
        QVERIFY(view);
        QTest::keyClicks(view, "HOME");
        QVERIFY(Enabled(ID_FILE_DOWNLOAD_CURRENT));
        QVERIFY(Enabled(ID_FILE_DOWNLOAD_FILE));
        shell.frame->action(ID_FILE_DOWNLOAD_CURRENT)->trigger();
        QCOMPARE(Read(path), QByteArray("HOME"));
        QVERIFY(ScreenText().find("HOME") != std::string::npos);
        QCOMPARE(protocol().ReplyState, reply::kIdle);
        protocol().ReplyState = reply::kNotOpen;
        QVERIFY(!Enabled(ID_FILE_DOWNLOAD_CURRENT));
        protocol().ReplyState = reply::kIdle;
    }

    void openProjectSourceNeedsAProjectAndCountsItsEdits() {
        QVERIFY(!Enabled(ID_FILE_OPEN_ED2));
        Write("proj.run", QByteArray("\x10\0\0\0\x04\0\0\0\0\0\0\0\x08\0\0\0\0\0", 18));
        Write("proj.ed1", "KAVENTRIX\nSTARTOVER\n");
        const QString source = Write("proj.ED2", "1 2 +\n");
        QVERIFY(projectDocument().OpenFile(shell.dir.filePath("proj.run").toStdString()));
        Cfthview* view = textWindows()->FindTextDocument(source.toStdString());
        QVERIFY(view);
        Open(Write("other.ed2", ""));
        QVERIFY(textWindows()->ActiveTextWindow() != view);
        QVERIFY(Enabled(ID_FILE_OPEN_ED2));
        shell.frame->action(ID_FILE_OPEN_ED2)->trigger();
        QCOMPARE(textWindows()->ActiveTextWindow(), view);

        QVERIFY(!projectDocument().IsModified());
        QTest::keyClicks(view, "3 4 + ");
        QVERIFY(projectDocument().IsModified());
        projectDocument().DeleteContents();
        QVERIFY(!textWindows()->IsOpen(source.toStdString()));
    }

    void rightButtonShowsTheMainWindowsEditMenu() {
        Cfthview* view = Open(Write("menu.ed2", "x"));
        QVERIFY(view);
        QString title;
        QTimer::singleShot(0, [&title] {
            if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                title = popup->title();
                popup->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4), view->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(view->viewport(), &event);
        QCOMPARE(title, QString("&Edit"));
    }

    void closingTheProgramAsksAboutUnsavedText() {
        const QString first = Write("first.ed2", "one");
        const QString path = Write("exit.ed2", "keep");
        for (const QString& file : {first, path})
            QTest::keyClicks(Open(file), "edit ");
        ScriptedUi scripted;
        InstallScreen({&scripted, nullptr, textWindows()});
        // Every question comes first: Cancel on the second leaves both windows open.
        scripted.answers = {Answer::No, Answer::Cancel};
        QVERIFY(!shell.frame->close());
        QCOMPARE(scripted.questions,
                 (std::vector<std::string>{"Save changes to first.ed2?", "Save changes to exit.ed2?"}));
        QVERIFY(textWindows()->IsOpen(first.toStdString()));
        QVERIFY(textWindows()->IsOpen(path.toStdString()));

        scripted.answers = {Answer::No, Answer::Yes};
        QVERIFY(shell.frame->close());
        QCOMPARE(Read(first), QByteArray("one"));
        QCOMPARE(Read(path), QByteArray("edit keep"));
        shell.InstallProgramScreen();
    }
};

QTEST_MAIN(TextShellTest)
#include "TextShellTest.moc"
