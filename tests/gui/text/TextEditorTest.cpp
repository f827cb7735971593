#include "core/base/CommandIds.h"
#include "core/base/ProfileStore.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "core/text/SourceDownload.h"
#include "gui/app/WindowKinds.h"
#include "gui/text/CFTDoc.h"
#include "gui/text/CFindReplaceDlg.h"
#include "gui/text/Cfthview.h"
#include "gui/text/TextSearch.h"
#include "gui/text/TextWindows.h"
#include "support/FakeController.h"
#include "support/ProtocolFakeLink.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QFile>
#include <QFontDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// Answers the file dialogs with a prepared path ("" = Cancel).
class DialogUi : public ScriptedUi {
public:
    std::string AskOpenFileName(const std::string&, const std::string&, const std::string&,
                                const std::string&) override {
        return chosen;
    }
    std::string AskSaveFileName(const std::string& title, const std::string&, const std::string&,
                                const std::string&) override {
        saveTitles.push_back(title);
        return chosen;
    }
    std::string chosen;
    std::vector<std::string> saveTitles;
};

} // namespace

class TextEditorTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DialogUi> ui;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QMdiArea> area;
    std::unique_ptr<WindowKinds> kinds;
    std::unique_ptr<TextWindows> windows;

    QString Path(const QString& name) const { return dir->filePath(name); }

    QString Write(const QString& name, const QByteArray& bytes) {
        QFile file(Path(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return Path(name);
    }

    static QByteArray Read(const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    Cfthview* Open(const QString& path) {
        if (!windows->OpenOrActivateTextFile(path.toStdString()))
            return nullptr;
        return windows->FindTextDocument(path.toStdString());
    }

    int OpenWindows() const {
        int count = 0;
        for (QMdiSubWindow* w : area->subWindowList()) {
            auto* view = qobject_cast<Cfthview*>(w->widget());
            count += view && !view->closed() ? 1 : 0;
        }
        return count;
    }

private slots:
    void init() {
        ui = std::make_unique<DialogUi>();
        dir = std::make_unique<QTemporaryDir>();
        area = std::make_unique<QMdiArea>();
        kinds = std::make_unique<WindowKinds>(area.get());
        windows = std::make_unique<TextWindows>(area.get(), *kinds);
        textSearch() = TextSearch();
    }

    void cleanup() {
        windows.reset();
        kinds.reset();
        area.reset();
        dir.reset();
        ui.reset();
    }

    void openAndSaveKeepEveryByte() {
        const QByteArray bytes("CR LF\r\nLF only\ncr only\rhigh \xe4\xa0\x80\xff\ttab\r\n\r\nlast");
        const QString path = Write("bytes.ed2", bytes);
        QCOMPARE(bytes.size(), 44);
        Cfthview* view = Open(path);
        QVERIFY(view);
        QCOMPARE(view->doc()->Bytes(), bytes);
        QVERIFY(!view->doc()->IsModified());
        view->document()->setModified(true);
        QVERIFY(view->Save());
        QCOMPARE(Read(path), bytes);
        QVERIFY(!view->doc()->IsModified());
    }

    void typedLinesTakeTheFilesLineEnd() {
        const QString path = Write("crlf.ed2", QByteArray("one\r\ntwo\r\n"));
        Cfthview* view = Open(path);
        QVERIFY(view);
        QTextCursor cursor = view->textCursor();
        cursor.movePosition(QTextCursor::End);
        view->setTextCursor(cursor);
        QTest::keyClicks(view, "3");
        QTest::keyClick(view, Qt::Key_Return);
        QTest::keyClicks(view, "4");
        QVERIFY(view->doc()->IsModified());
        QVERIFY(view->Save());
        QCOMPARE(Read(path), QByteArray("one\r\ntwo\r\n3\r\n4"));
    }

    void charactersBeyondAByteAreSavedInUtf8() {
        const QString path = Write("wide.ed2", QByteArray("\xe4 "));
        Cfthview* view = Open(path);
        QVERIFY(view);
        QTextCursor cursor = view->textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QString::fromUtf8("\xe2\x82\xac\xf0\x9f\x98\x80x"));
        QVERIFY(view->Save());
        QCOMPARE(Read(path), QByteArray("\xe4 \xe2\x82\xac\xf0\x9f\x98\x80x"));
    }

    void tabInsertsNothing() {
        const QString path = Write("tab.ed2", QByteArray("A B"));
        Cfthview* view = Open(path);
        QVERIFY(view);
        QTest::keyClick(view, Qt::Key_Tab);
        QTest::keyClick(view, Qt::Key_X);
        QCOMPARE(view->doc()->Bytes(), QByteArray("xA B"));
        QTest::keyClick(view, Qt::Key_Tab, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(view->doc()->Bytes(), QByteArray("xA B"));
    }

    void openingAnOpenFileActivatesItsWindow() {
        const QString first = Write("a.ed2", "a"), second = Write("b.ed2", "b");
        Cfthview* a = Open(first);
        Cfthview* b = Open(second);
        QVERIFY(a && b && a != b);
        QCOMPARE(windows->ActiveTextWindow(), b);
        QCOMPARE(Open(dir->path() + "/./a.ed2"), a);
        QCOMPARE(OpenWindows(), 2);
        QCOMPARE(windows->ActiveTextWindow(), a);
    }

    void aMissingFileIsCreatedOnlyWhenTheOperatorAgrees() {
        const QString path = Path("new.ed2");
        QVERIFY(!Open(path));
        QCOMPARE(ui->questions.back(), path.toStdString() + " does not exist. Would you like to create it?");
        QVERIFY(!QFile::exists(path));
        QVERIFY(!windows->createMissingFile);
        QCOMPARE(OpenWindows(), 0);

        ui->answers.push_back(Answer::Yes);
        Cfthview* view = Open(path);
        QVERIFY(view);
        QVERIFY(windows->createMissingFile);
        QVERIFY(QFile::exists(path));
        QCOMPARE(Read(path), QByteArray());
        QCOMPARE(view->windowTitle(), QString("new.ed2[*]"));
    }

    void newFileEmptiesTheChosenFile() {
        const QString path = Write("old.txt", "old text");
        ui->chosen = path.toStdString();
        windows->NewTextFile();
        QCOMPARE(ui->saveTitles, std::vector<std::string>{"New File"});
        QCOMPARE(Read(path), QByteArray());
        Cfthview* view = windows->FindTextDocument(path.toStdString());
        QVERIFY(view);
        QVERIFY(view->toPlainText().isEmpty());

        ui->chosen.clear();
        windows->NewTextFile();
        QCOMPARE(OpenWindows(), 1);
    }

    void findNextWrapsAndFollowsTheCase() {
        const QString path = Write("find.ed2", "alpha beta Alpha\ngamma alpha");
        Cfthview* view = Open(path);
        QVERIFY(view);
        TextSearch& search = textSearch();
        search.what = "alpha";
        QVERIFY(view->CommandEnabled(ID_EDIT_REPEAT));
        QList<int> starts;
        for (int i = 0; i < 4; ++i) {
            view->RunCommand(ID_EDIT_REPEAT);
            starts << view->textCursor().selectionStart();
        }
        QCOMPARE(starts, (QList<int>{0, 11, 23, 0}));
        search.matchCase = true;
        view->RunCommand(ID_EDIT_REPEAT);
        QCOMPARE(view->textCursor().selectionStart(), 23);
        search.down = false;
        view->RunCommand(ID_EDIT_REPEAT);
        QCOMPARE(view->textCursor().selectionStart(), 0);

        search.what = "zzz";
        view->RunCommand(ID_EDIT_REPEAT);
        QCOMPARE(ui->messages.back(), std::string("Cannot find \"zzz\""));
    }

    void replaceOneAndAllThenUndoInOneStep() {
        const QString path = Write("replace.ed2", "dup DUP dup");
        Cfthview* view = Open(path);
        QVERIFY(view);
        view->OpenSearch(true);
        CFindReplaceDlg* box = view->searchBox();
        QVERIFY(box);
        box->whatField()->setText("dup");
        box->withField()->setText("over");
        box->FindNext();
        QCOMPARE(view->textCursor().selectedText(), QString("dup"));
        box->Replace();
        QCOMPARE(view->toPlainText(), QString("over DUP dup"));
        QCOMPARE(view->textCursor().selectionStart(), 5);
        box->ReplaceAll();
        QCOMPARE(view->toPlainText(), QString("over over over"));
        view->RunCommand(ID_EDIT_UNDO);
        QCOMPARE(view->toPlainText(), QString("over DUP dup"));
        box->whatField()->setText("nothing");
        box->ReplaceAll();
        QCOMPARE(ui->messages.back(), std::string("Cannot find \"nothing\""));
    }

    void closingAModifiedWindowAsksAndHonoursTheAnswer() {
        const QString path = Write("close.ed2", "text");
        Cfthview* view = Open(path);
        QVERIFY(view);
        QTest::keyClicks(view, "new ");
        QVERIFY(view->CommandEnabled(ID_FILE_SAVE));

        ui->answers.push_back(Answer::Cancel);
        view->RunCommand(ID_FILE_CLOSE);
        QCOMPARE(ui->questions.back(), std::string("Save changes to close.ed2?"));
        QCOMPARE(OpenWindows(), 1);

        ui->answers.push_back(Answer::Yes);
        view->RunCommand(ID_FILE_CLOSE);
        QCOMPARE(OpenWindows(), 0);
        QCOMPARE(Read(path), QByteArray("new text"));

        view = Open(path);
        QTest::keyClicks(view, "lost ");
        ui->answers.push_back(Answer::No);
        view->RunCommand(ID_FILE_CLOSE);
        QCOMPARE(OpenWindows(), 0);
        QCOMPARE(Read(path), QByteArray("new text"));
    }

    void theProjectSeesUnsavedEditsAndSavesUnderANewName() {
        const QString path = Write("proj.ED2", "a\nb\nc\n");
        const std::string p = path.toStdString();
        QVERIFY(windows->OpenOrActivate(p));
        QVERIFY(windows->IsOpen(p));
        QVERIFY(!windows->IsModified(p));
        Cfthview* view = windows->FindTextDocument(p);
        QTest::keyClicks(view, "x");
        QVERIFY(windows->IsModified(p));

        const std::string renamed = Path("other.ED2").toStdString();
        QVERIFY(windows->SaveAs(p, renamed));
        QCOMPARE(Read(QString::fromStdString(renamed)), QByteArray("xa\nb\nc\n"));
        QVERIFY(!windows->IsOpen(p));
        QVERIFY(windows->IsOpen(renamed));
        QCOMPARE(view->windowTitle(), QString("other.ED2[*]"));

        windows->ShowLine(renamed, 2);
        QCOMPARE(view->textCursor().selectedText(), QString("b"));
        QTest::keyClicks(view, "y");
        windows->Close(renamed);
        QVERIFY(ui->questions.empty());
        QVERIFY(!windows->IsOpen(renamed));
    }

    void saveAsTakesTheChosenName() {
        const QString path = Write("first.ed2", "1 2 +");
        Cfthview* view = Open(path);
        ui->chosen.clear();
        QVERIFY(!view->SaveAs());
        ui->chosen = Path("second.ed2").toStdString();
        view->RunCommand(ID_FILE_SAVE_AS);
        QCOMPARE(Read(Path("second.ed2")), QByteArray("1 2 +"));
        QCOMPARE(view->doc()->path(), Path("second.ed2"));
    }

    void aRefusedSourceLineIsShownSelectedInItsWindow() {
        FakeController fake(*ui);
        fake.lineAnswer = [](const std::string& line) {
            return line == "BAD WORD\n" ? line + " BAD ?\r\n>" : line + " OK\r\n>";
        };
        FakeLinkScope link(fake);
        ScreenScope screen({ui.get(), nullptr, windows.get()});

        const QString path = Write("refused.ed2", "1 2 +\nBAD WORD\n3 4 +\n");
        QVERIFY(DownloadSourceFile(path.toStdString()));
        Cfthview* view = windows->FindTextDocument(path.toStdString());
        QVERIFY(view);
        QCOMPARE(windows->ActiveTextWindow(), view);
        QCOMPARE(view->textCursor().selectedText(), QString("BAD WORD"));
        QCOMPARE(view->textCursor().blockNumber(), 1);
        QCOMPARE(ui->messages.size(), size_t(2));
    }

    void fontCommandSetsThisWindowAndRemembersTheChoice() {
        UseProfileFile(Path("profile.ini").toStdString());
        Cfthview::editFont() = FontDescription();
        Cfthview* first = Open(Write("first.ed2", "a"));
        Cfthview* second = Open(Write("second.ed2", "b"));
        QVERIFY(first && second);
        const QFont before = first->font();
        QFont wanted = second->font();
        wanted.setPointSize(before.pointSize() + 6);
        QTimer::singleShot(0, [wanted] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->setCurrentFont(wanted);
            dialog->accept();
        });
        second->RunCommand(ID_SETTINGS_FONT);
        QCOMPARE(second->font().pointSize(), wanted.pointSize());
        QCOMPARE(first->font(), before);
        FontDescription stored;
        QVERIFY(stored.Parse(GetProfileString("edit", "Font")));
        QCOMPARE(stored.Format(), Cfthview::editFont().Format());
        QVERIFY(stored.height != FontDescription().height);
        Cfthview* third = Open(Write("third.ed2", "c"));
        QCOMPARE(third->font().pointSize(), wanted.pointSize());

        // The dialog of a window that kept its older font starts from the remembered one.
        int offered = 0;
        QTimer::singleShot(0, [&offered] {
            if (auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget())) {
                offered = dialog->currentFont().pointSize();
                dialog->reject();
            }
        });
        first->RunCommand(ID_SETTINGS_FONT);
        QCOMPARE(offered, wanted.pointSize());
        UseProfileFile(std::string());
    }
};

QTEST_MAIN(TextEditorTest)
#include "TextEditorTest.moc"
