#include "gui/text/Cbinblk.h"
#include "support/ScriptedUi.h"

#include <QLineEdit>
#include <QtTest>

class CbinblkTest : public QObject {
    Q_OBJECT

private:
    // Puts the texts into the fields and presses OK; true when the dialog closed accepted.
    static bool Submit(Cbinblk& dialog, const QString& bank, const QString& start, const QString& length) {
        dialog.show();
        Field(dialog, "bank")->setText(bank);
        Field(dialog, "start")->setText(start);
        Field(dialog, "length")->setText(length);
        dialog.accept();
        return dialog.result() == QDialog::Accepted && !dialog.isVisible();
    }
    static QLineEdit* Field(Cbinblk& dialog, const char* name) { return dialog.findChild<QLineEdit*>(name); }

private slots:
    void acceptsBlanksAroundAndZero() {
        ScriptedUi ui;
        Cbinblk dialog(0, 0x4000, 0x6000);
        QVERIFY(Submit(dialog, "3", " 1f00 ", "0"));
        QCOMPARE(dialog.bank(), 3u);
        QCOMPARE(dialog.start(), 0x1f00u);
        QCOMPARE(dialog.length(), 0u);
        QVERIFY(ui.messages.empty());
    }

    void badHexKeepsTheDialogOpenOnTheField_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("badField");
        QTest::newRow("x") << "x"
                           << "100"
                           << "start";
        QTest::newRow("10000") << "0"
                               << "10000"
                               << "length";
    }
    void badHexKeepsTheDialogOpenOnTheField() {
        QFETCH(QString, start);
        QFETCH(QString, length);
        QFETCH(QString, badField);
        ScriptedUi ui;
        Cbinblk dialog(0, 0x4000, 0x6000);
        QVERIFY(!Submit(dialog, "0", start, length));
        QVERIFY(dialog.isVisible());
        QCOMPARE(ui.messages,
                 std::vector<std::string>{"Please enter a hexadecimal number not greater than ffff"});
        QCOMPARE(dialog.focusWidget(), Field(dialog, badField.toLatin1().constData()));
        // The values of the last accepted state are kept.
        QCOMPARE(dialog.start(), 0x4000u);
        QCOMPARE(dialog.length(), 0x6000u);
    }

    void bankOutsideItsRangeIsRefused() {
        for (const char* bank : {"4", "x"}) {
            ScriptedUi ui;
            Cbinblk dialog(0, 0x4000, 0x6000);
            QVERIFY2(!Submit(dialog, bank, "0", "0"), bank);
            QCOMPARE(ui.messages, std::vector<std::string>{"Please enter an integer between 0 and 3."});
            QCOMPARE(dialog.focusWidget(), Field(dialog, "bank"));
        }
    }
};

QTEST_MAIN(CbinblkTest)
#include "CbinblkTest.moc"
