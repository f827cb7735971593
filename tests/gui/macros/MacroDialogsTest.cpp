#include "core/app/CoreWiring.h"
#include "core/macros/Cmacdoc.h"
#include "gui/macros/Cmaced.h"
#include "gui/macros/Cmaclist.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

#include <functional>

class MacroDialogsTest : public QObject {
    Q_OBJECT

private:
    // Runs `step` on the "Edit Macro" dialog once it is up (bounded: the step gives up after 5 s).
    static void OnEditor(std::function<void(Cmaced&)> step, int triesLeft = 500) {
        QTimer::singleShot(10, [step, triesLeft] {
            if (auto* editor = qobject_cast<Cmaced*>(QApplication::activeModalWidget())) {
                step(*editor);
                return;
            }
            if (triesLeft > 0)
                OnEditor(step, triesLeft - 1);
        });
    }
    static void Type(Cmaced& editor, const QString& name, const QString& text) {
        editor.findChild<QLineEdit*>("name")->setText(name);
        editor.findChild<QPlainTextEdit*>("text")->setPlainText(text);
    }
    static QStringList Names(Cmaclist& list) {
        QStringList names;
        auto* w = list.findChild<QListWidget*>("list");
        for (int i = 0; i < w->count(); ++i)
            names << w->item(i)->text();
        return names;
    }
    static int Selected(Cmaclist& list) { return list.findChild<QListWidget*>("list")->currentRow(); }

private slots:
    void init() { ResetCore(); }

    void editorShowsLinesCtrlEnterStartsALineAndEnterPressesOk() {
        Cmaced editor("Home", "HOME\r\nCALIBRATE", nullptr);
        auto* text = editor.findChild<QPlainTextEdit*>("text");
        QCOMPARE(text->toPlainText(), QString("HOME\nCALIBRATE"));
        QCOMPARE(editor.text(), std::string("HOME\r\nCALIBRATE"));
        text->clear();
        editor.show();
        text->setFocus();
        QTest::keyClicks(text, "A");
        QTest::keyClick(text, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(text, "B");
        QVERIFY(editor.isVisible());
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QVERIFY(!editor.isVisible());
        QCOMPARE(editor.text(), std::string("A\r\nB"));
    }

    void nameIsLimitedTo32Characters() {
        ScriptedUi ui;
        Cmaced typed("", "", nullptr);
        typed.show();
        auto* name = typed.findChild<QLineEdit*>("name");
        QTest::keyClicks(name, QString(40, 'n'));
        QCOMPARE(typed.name().size(), size_t(32));

        // A longer name read from a file is kept whole, and OK asks for a shorter one.
        Cmaced loaded(std::string(40, 'L'), "", nullptr);
        loaded.show();
        QCOMPARE(loaded.name().size(), size_t(40));
        loaded.accept();
        QVERIFY(loaded.isVisible());
        QCOMPARE(ui.messages, std::vector<std::string>{"Enter no more than 32 characters."});
    }

    void listOpensOnTheFirstNameAndNewAppendsAndSelects() {
        Cmacdoc& set = macroDoc();
        set.Append("A", "1");
        set.SetModifiedFlag(false);
        Cmaclist list(set);
        QCOMPARE(Selected(list), 0);
        OnEditor([](Cmaced& e) {
            Type(e, "Cal", "CALIBRATE");
            e.accept();
        });
        list.New();
        QCOMPARE(Names(list), (QStringList{"A", "Cal"}));
        QCOMPARE(Selected(list), 1);
        QCOMPARE(set.text(1), std::string("CALIBRATE"));
        QVERIFY(set.IsModified());

        OnEditor([](Cmaced& e) { e.reject(); });
        list.New();
        QCOMPARE(set.count(), 2);
    }

    void editReplacesInPlaceAndDoubleClickEdits() {
        Cmacdoc& set = macroDoc();
        for (const char* n : {"A", "B", "C"})
            set.Append(n, n);
        set.SetModifiedFlag(false);
        Cmaclist list(set);
        auto* w = list.findChild<QListWidget*>("list");
        w->setCurrentRow(1);
        OnEditor([](Cmaced& e) {
            QCOMPARE(e.name(), std::string("B"));
            Type(e, "B2", "X\nY");
            e.accept();
        });
        list.Edit();
        QCOMPARE(Names(list), (QStringList{"A", "B2", "C"}));
        QCOMPARE(set.text(1), std::string("X\r\nY"));
        QCOMPARE(Selected(list), 1);
        QVERIFY(set.IsModified());

        OnEditor([](Cmaced& e) {
            Type(e, "C2", "Z");
            e.accept();
        });
        emit w->itemDoubleClicked(w->item(2));
        QCOMPARE(set.name(2), std::string("C2"));

        // Cancel changes nothing.
        set.SetModifiedFlag(false);
        OnEditor([](Cmaced& e) {
            Type(e, "nope", "");
            e.reject();
        });
        list.Edit();
        QVERIFY(!set.IsModified());
        QCOMPARE(set.name(2), std::string("C2"));
    }

    void deleteAsksAndRemoves() {
        ScriptedUi ui;
        Cmacdoc& set = macroDoc();
        for (const char* n : {"M1", "M2", "M3", "M4", "M5"})
            set.Append(n, n);
        Cmaclist list(set);
        list.findChild<QListWidget*>("list")->setCurrentRow(2);
        ui.answers = {Answer::No};
        list.Delete();
        QCOMPARE(set.count(), 5);
        ui.answers = {Answer::Yes};
        list.Delete();
        QCOMPARE(ui.questions, (std::vector<std::string>{"Do you wish to delete macro M3",
                                                         "Do you wish to delete macro M3"}));
        QCOMPARE(Names(list), (QStringList{"M1", "M2", "M4", "M5"}));
        QCOMPARE(Selected(list), 3);
    }

    void editAndDeleteWithoutSelectionDoNothing() {
        ScriptedUi ui;
        Cmaclist list(macroDoc());
        list.Edit();
        list.Delete();
        QVERIFY(ui.questions.empty());
        QCOMPARE(Selected(list), -1);
    }
};

QTEST_MAIN(MacroDialogsTest)
#include "MacroDialogsTest.moc"
