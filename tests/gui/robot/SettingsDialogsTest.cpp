#include "core/app/CoreWiring.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/base/ProfileStore.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "core/robot/CSettings.h"
#include "gui/robot/CCnfdlg.h"
#include "gui/robot/CJname.h"
#include "gui/robot/SettingsCommands.h"
#include "support/ScriptedUi.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class SettingsDialogsTest : public QObject {
    Q_OBJECT

private:
    static QLineEdit* Field(QWidget& dialog, const char* name) {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static int VisibleRows(QWidget& dialog) {
        int n = 0;
        for (int i = 1; i <= CJname::kSlots; ++i)
            n += Field(dialog, QStringLiteral("name%1").arg(i).toLatin1().constData())->isVisibleTo(&dialog);
        return n;
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        UseProfileFile(m_dir.filePath(QStringLiteral("store.ini")).toStdString());
        ResetCore();
    }
    void cleanup() { UseProfileFile(std::string()); }

    void typingTheCountShowsThatManyRows() {
        CJname dialog(QStringLiteral("Joint names"), 3, {"a", "b\xF6", "c"});
        QCOMPARE(VisibleRows(dialog), 3);
        QCOMPARE(Field(dialog, "name2")->text(), QString::fromUtf8("b\xC3\xB6"));

        QLineEdit* count = Field(dialog, "count");
        count->setText(QStringLiteral("5"));
        QCOMPARE(VisibleRows(dialog), 5);
        count->setText(QStringLiteral("9")); // out of range while typing: ignored
        QCOMPARE(VisibleRows(dialog), 5);
        count->setText(QStringLiteral("1"));
        QCOMPARE(VisibleRows(dialog), 1);
    }

    void okRefusesABadCountOrALongNameAndStaysOpen() {
        ScriptedUi ui;
        CJname dialog(QStringLiteral("Cartesian axes"), 2, {"X", "Y"});
        dialog.show();
        Field(dialog, "count")->setText(QStringLiteral("7"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.isVisible());
        QCOMPARE(ui.messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(ui.messages[0]),
                 QStringLiteral("Please enter an integer between 1 and 6."));

        Field(dialog, "count")->setText(QStringLiteral("2"));
        Field(dialog, "name2")->setText(QStringLiteral("ninechars"));
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(QString::fromStdString(ui.messages.back()),
                 QStringLiteral("Enter no more than 8 characters."));

        // Names are kept in the profile's 8-bit encoding: eight characters are eight bytes.
        Field(dialog, "name2")->setText(QString::fromUtf8("\xE8\xBB\xB8"));
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(QString::fromStdString(ui.messages.back()),
                 QStringLiteral("Enter only Western European (Latin-1) characters."));
        Field(dialog, "name2")->setText(QString::fromUtf8("Ellb\xC3\xB6gen"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.count(), 2);
        QCOMPARE(dialog.names(), (std::vector<std::string>{"X", "Ellb\xF6gen"}));
    }

    void jointNamesCommandStoresCountAndNames() {
        ScriptedUi ui;
        CommandRegistry registry;
        BindSettingsCommands(registry);
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<CJname*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QLineEdit*>(QStringLiteral("count"))->setText(QStringLiteral("3"));
            dialog->findChild<QLineEdit*>(QStringLiteral("name3"))->setText(QStringLiteral("Fore"));
            dialog->accept();
        });
        QVERIFY(registry.Run(ID_SETTINGS_JOINT_NAMES));
        QCOMPARE(settings().JointCount(), 3);
        QCOMPARE(JointCount(), 3);
        QCOMPARE(QString::fromStdString(settings().JointName(2)), QStringLiteral("Fore"));
        QVERIFY(settings().IsModified());
        SetArmProfile(nullptr);
    }

    void configurationDialogSwitchesSimulation() {
        ScriptedUi ui;
        CommandRegistry registry;
        BindSettingsCommands(registry);
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<CCnfdlg*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Configuration"));
            QVERIFY(dialog->findChild<QCheckBox*>(QStringLiteral("hideMode"))->isChecked());
            dialog->findChild<QCheckBox*>(QStringLiteral("simulate"))->setChecked(true);
            dialog->accept();
        });
        QVERIFY(registry.Run(ID_SETTINGS_CONFIGURATION));
        QVERIFY(commLink().Simulate);
        QCOMPARE(protocol().ReplyState, reply::kIdle);
        QVERIFY(settings().IsModified());
        SetArmProfile(nullptr);
    }

    void enablingFollowsTheLinkAndTheModifiedFlag() {
        CommandRegistry registry;
        BindSettingsCommands(registry);
        protocol().ReplyState = reply::kNotOpen;
        QVERIFY(!registry.IsEnabled(ID_SETTINGS_OPEN));
        QVERIFY(registry.IsEnabled(ID_SETTINGS_NEW));
        QVERIFY(registry.IsEnabled(ID_SETTINGS_SAVE_AS));
        QVERIFY(!registry.IsEnabled(ID_SETTINGS_SAVE));
        protocol().ReplyState = reply::kIdle;
        QVERIFY(registry.IsEnabled(ID_SETTINGS_OPEN));
        protocol().ReplyState = reply::kCollecting;
        QVERIFY(!registry.IsEnabled(ID_SETTINGS_OPEN));
        settings().SetAxisNames(2, {"X", "Y"});
        QVERIFY(registry.IsEnabled(ID_SETTINGS_SAVE));
        SetArmProfile(nullptr);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(SettingsDialogsTest)
#include "SettingsDialogsTest.moc"
