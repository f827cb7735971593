// The terminal window and the communication commands: what the window shows of the console text,
// what typing sends, the font entry, closing, "Communication Configuration" and "Save Communication".
#include "support/ShellTestSupport.h"

#include "core/app/EventLoopUi.h"
#include "core/app/FontDescription.h"
#include "gui/link/CComopt.h"
#include "gui/link/Ccomview.h"
#include "gui/link/CommCommands.h"
#include "support/ScriptedUi.h"

#include <QComboBox>
#include <QFile>
#include <QFontDialog>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QtTest>

class TerminalTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_shell.SetUp(); }
    void cleanup() { m_shell.TearDown(); }

    void typedCharactersAreSentAndOnlyTheEchoIsDrawn() {
        Ccomview* view = m_shell.frame->terminal();
        QVERIFY(view);
        QTest::keyClicks(view, "CAL");
        QCOMPARE(ShellFixture::CurrentLine(), std::string("CAL"));
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(ShellFixture::LastLine(), std::string("CAL simOK"));
        QCOMPARE(protocol().ReplyState, reply::kIdle);
        // The caret stands after the prompt.
        QCOMPARE(ShellFixture::CurrentLine(), std::string(">"));
        QCOMPARE(view->caretPosition(), QPoint(view->charWidth(), (commLink().document()->GetLineCount() - 1 -
                                                                   view->firstShownLine()) *
                                                                      view->lineHeight()));

        // Characters above 127 are not sent: a beep instead.
        ScriptedUi scripted;
        QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString::fromUtf8("\xc3\xa9"));
        QApplication::sendEvent(view, &accented);
        QCOMPARE(scripted.beeps, 1);
        QCOMPARE(ShellFixture::CurrentLine(), std::string(">"));
        m_shell.InstallProgramScreen();

        // Control characters go as typed (Ctrl+C), not those of editing keys (Delete's DEL); an echo
        // moves the reply state.
        for (const auto& [key, mods, code, sent] : {std::tuple{Qt::Key_Delete, Qt::NoModifier, 127, false},
                                                    {Qt::Key_C, Qt::ControlModifier, 3, true}}) {
            QKeyEvent press(QEvent::KeyPress, key, mods, QString(QChar(code)));
            QApplication::sendEvent(view, &press);
            QCOMPARE(protocol().ReplyState != reply::kIdle, sent);
            QTest::keyClick(view, Qt::Key_Return);
        }
    }

    void showsTheNewestLinesThatFitAndWidthFollowsTheWindow() {
        Ccomview* view = m_shell.frame->terminal();
        QMdiSubWindow* window = m_shell.frame->windowKinds().Find(WindowKind::Communication);
        window->showNormal();
        const QSize frameExtra = window->size() - view->size();
        window->resize(QSize(view->charWidth() * 90, view->lineHeight() * 5 + 3) + frameExtra);
        QCOMPARE(view->visibleLines(), 5);
        for (int i = 0; i < 12; ++i) {
            const std::string line = "line " + std::to_string(i) + "\r\n";
            commLink().DisplayText(line.data(), static_cast<int>(line.size()));
        }
        const int count = commLink().document()->GetLineCount();
        QCOMPARE(view->firstShownLine(), count - 5);
        QCOMPARE(view->caretPosition(), QPoint(0, 4 * view->lineHeight()));
        QCOMPARE(commLink().document()->GetWidth(), 90);

        // The width follows the window within its limits.
        for (const auto& [columns, width] : {std::pair{40, 80}, {100, 100}, {200, 132}}) {
            window->resize(QSize(view->charWidth() * columns + 2, 200) + frameExtra);
            QCOMPARE(commLink().document()->GetWidth(), width);
        }
    }

    void fontDialogChangesTheFontAndClosingRemembersIt() {
        Ccomview* view = m_shell.frame->terminal();
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->setCurrentFont(QFont("DejaVu Sans Mono", 13));
            dialog->accept();
        });
        view->ChooseFont();
        QCOMPARE(QString::fromStdString(view->fontDescription().face), QString("DejaVu Sans Mono"));
        const std::string expected = view->fontDescription().Format();
        QVERIFY(GetProfileString("comm", "Font").empty());
        m_shell.frame->windowKinds().Find(WindowKind::Communication)->close();
        QCOMPARE(GetProfileString("comm", "Font"), expected);
        QVERIFY(!commLink().document());

        // The next opening of the link makes a new window with an empty screen and the saved font.
        commLink().OpenCommunication();
        QTRY_VERIFY(m_shell.frame->terminal() && m_shell.frame->terminal() != view);
        QCOMPARE(m_shell.frame->terminal()->fontDescription().Format(), expected);
        QCOMPARE(commLink().document()->GetLineCount(), 1);
    }

    void configurationDialogKeepsBadValuesOut() {
        EventLoopUi recorder;
        InstallScreen({&recorder});
        CComopt dialog;
        dialog.SetValues(1, 8, "");
        QCOMPARE(dialog.baudList()->currentText(), QString("19200"));
        dialog.show();
        for (const char* bad : {"20", "0", "abc", ""}) {
            dialog.portEdit()->setText(bad);
            dialog.accept();
            QVERIFY2(dialog.isVisible(), bad);
            QCOMPARE(recorder.messages.back(), std::string("Please enter an integer between 1 and 19."));
        }
        dialog.portEdit()->setText("19");
        dialog.deviceList()->setCurrentText("/no/such/device");
        const size_t before = recorder.messages.size();
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(recorder.messages.size(), before + 1);
        QVERIFY(recorder.messages.back().find("/no/such/device") != std::string::npos);
        dialog.deviceList()->setCurrentText("/dev/null");
        dialog.baudList()->setCurrentIndex(2);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.port(), 19);
        QCOMPARE(dialog.baudIndex(), 2);
        QCOMPARE(dialog.device(), std::string("/dev/null"));
        m_shell.InstallProgramScreen();
    }

    void configureStoresOnOkAndReopensEitherWay() {
        // Under simulation too the dialog shows what is stored, and "OK" keeps what was not changed
        // (a device that is not there at the moment included).
        WriteProfileInt("Communication", "port", 3);
        WriteProfileInt("Communication", "baudindex", 5);
        WriteProfileString("Communication", "device", "/tmp/no-such-link");
        commLink().ReOpen();
        QTimer::singleShot(0, this, [] {
            if (auto* dialog = qobject_cast<CComopt*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        ConfigureCommunication(m_shell.frame.get());
        QCOMPARE(protocol().ReplyState, reply::kIdle);
        QCOMPARE(commLink().document()->title, std::string("Simulated Communication"));

        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<CComopt*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            QCOMPARE(dialog->portEdit()->text(), QString("3"));
            dialog->portEdit()->setText("7");
            dialog->accept();
        });
        ConfigureCommunication(m_shell.frame.get());
        QCOMPARE(GetProfileInt("Communication", "port", -1), 7);
        QCOMPARE(GetProfileInt("Communication", "baudindex", -1), 5);
        QCOMPARE(GetProfileString("Communication", "device"), std::string("/tmp/no-such-link"));
        QCOMPARE(protocol().ReplyState, reply::kIdle);
    }

    void saveCommunicationWritesTheHeldLines() {
        QVERIFY(protocol().SendCommand("HOME"));
        const QString path = m_shell.dir.filePath("console.txt");
        QVERIFY(SaveCommunicationTo(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes, QByteArray::fromStdString(commLink().document()->SavedText()));
        QVERIFY(bytes.endsWith("HOME simOK\r\n>"));
        QVERIFY(!SaveCommunicationTo(m_shell.dir.filePath("missing/dir/console.txt")));
    }

private:
    ShellFixture m_shell;
};

QTEST_MAIN(TerminalTest)
#include "TerminalTest.moc"
