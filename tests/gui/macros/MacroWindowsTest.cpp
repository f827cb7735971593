// The macro bar and the macro dialogs.
#include "core/base/CommandIds.h"
#include "core/macros/Cmacdoc.h"
#include "gui/macros/Cmaced.h"
#include "gui/macros/Cmaclist.h"
#include "support/ScriptedUi.h"
#include "support/ShellFixture.h"
#include "support/WindowTest.h"

namespace {

void Type(Cmaced& editor, const QString& name, const QString& text) {
    editor.findChild<QLineEdit*>("name")->setText(name);
    editor.findChild<QPlainTextEdit*>("text")->setPlainText(text);
    editor.accept();
}

} // namespace

class MacroWindowsTest : public ShellTest {
    Q_OBJECT
private slots:

    void theBarShowsTheFirstTenNamesAndRunsTheirMacros() {
        Cmacdoc& set = macroDoc();
        for (int i = 0; i < 12; ++i)
            set.Append(i == 1 ? "Grip & go" : "M" + std::to_string(i), i == 1 ? "GRIP" : "HOME");
        const auto texts = [this] {
            m_shell.frame->UpdateCommandStates();
            QString texts;
            for (int i = 0; i < ID_MACRO_BUTTON_COUNT; ++i)
                texts += m_shell.frame->macroButton(i)->text() + ",";
            return texts;
        };
        QCOMPARE(texts(), QString("M0,Grip && go,M2,M3,M4,M5,M6,M7,M8,M9,"));
        m_shell.frame->macroButton(1)->trigger();
        QCOMPARE(ShellFixture::LastLine(), std::string("GRIP simOK"));
        for (int i = 0; i < 9; ++i)
            set.Remove(2);
        QCOMPARE(texts(), QString("M0,Grip && go,M11,,,,,,,,"));
    }

    void theEditorKeepsLinesAndCtrlEnterStartsANewOne() {
        Cmaced editor("Home", "HOME\r\nCALIBRATE", nullptr);
        auto* text = editor.findChild<QPlainTextEdit*>("text");
        QCOMPARE(text->toPlainText(), QString("HOME\nCALIBRATE"));
        text->clear();
        editor.show();
        text->setFocus();
        QTest::keyClicks(text, "A");
        QTest::keyClick(text, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(text, "B");
        QVERIFY(editor.isVisible());
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(editor.text(), std::string("A\r\nB"));
    }

    void theListAddsEditsAndDeletesMacros() {
        ScriptedUi ui;
        Cmacdoc& set = macroDoc();
        for (const char* n : {"A", "B", "C"})
            set.Append(n, n);
        Cmaclist list(set);
        auto* names = list.findChild<QListWidget*>("list");
        QCOMPARE(names->currentRow(), 0);
        WhenModal<Cmaced>([](Cmaced& e) { Type(e, "Cal", "CALIBRATE"); });
        list.New();
        QCOMPARE(names->currentRow(), 3);
        QCOMPARE(set.name(3) + set.text(3), std::string("CalCALIBRATE"));
        names->setCurrentRow(1);
        WhenModal<Cmaced>([](Cmaced& e) {
            QCOMPARE(e.name(), std::string("B"));
            Type(e, "B2", "X\nY");
        });
        emit names->itemDoubleClicked(names->item(1));
        QCOMPARE(set.name(1) + set.text(1), std::string("B2X\r\nY"));
        ui.answers = {Answer::No, Answer::Yes};
        list.Delete();
        list.Delete();
        QCOMPARE(ui.questions, std::vector<std::string>(2, "Do you wish to delete macro B2"));
        QCOMPARE(QString::number(names->count()) + names->item(1)->text(), QString("3C"));
    }
};

MARLIX_WINDOW_TEST(MacroWindowsTest)
#include "MacroWindowsTest.moc"
