#include "core/app/CoreWiring.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/link/CommLink.h"
#include "core/macros/Cmacdoc.h"
#include "core/protocol/Protocol.h"
#include "gui/app/CMainFrame.h"
#include "gui/macros/MacroCommands.h"
#include "support/AppFiles.h"
#include "support/ScriptedUi.h"

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

class MacroBarTest : public QObject {
    Q_OBJECT

private:
    QStringList Texts() const {
        QStringList texts;
        for (int i = 0; i < ID_MACRO_BUTTON_COUNT; ++i)
            texts << m_frame->macroButton(i)->text();
        return texts;
    }
    QList<bool> Enabled() const {
        QList<bool> enabled;
        for (int i = 0; i < ID_MACRO_BUTTON_COUNT; ++i)
            enabled << m_frame->macroButton(i)->isEnabled();
        return enabled;
    }
    static QList<bool> FirstEnabled(int n) {
        QList<bool> enabled;
        for (int i = 0; i < ID_MACRO_BUTTON_COUNT; ++i)
            enabled << (i < n);
        return enabled;
    }
    void Refresh() { m_frame->UpdateCommandStates(); }

    std::unique_ptr<CMainFrame> m_frame;

private slots:
    void init() {
        ResetCore();
        m_frame = std::make_unique<CMainFrame>();
        BindMacroCommands(commands(), *m_frame);
    }
    void cleanup() {
        m_frame.reset();
        ResetCore();
    }

    void buttonsShowTheFirstTenNames() {
        Cmacdoc& set = macroDoc();
        for (int i = 0; i < 12; ++i)
            set.Append("M" + std::to_string(i), "X");
        set.Replace(1, "Grip & go", "X");
        protocol().ReplyState = reply::kIdle;
        Refresh();
        const QStringList texts = Texts();
        QCOMPARE(texts.first(), QString("M0"));
        QCOMPARE(texts[1], QString("Grip && go"));
        QCOMPARE(texts.last(), QString("M9"));
        QCOMPARE(Enabled(), FirstEnabled(10));

        // Deleting moves later macros down and empties the buttons beyond the set.
        for (int i = 0; i < 8; ++i)
            set.Remove(1);
        Refresh();
        QCOMPARE(Texts(), (QStringList{"M0", "M9", "M10", "M11", "", "", "", "", "", ""}));
        QCOMPARE(Enabled(), FirstEnabled(4));
    }

    void closedLinkOrBusyKeepsNamesButDisablesAndClosingTheSetEmpties() {
        macroDoc().Append("Home", "HOME");
        protocol().ReplyState = reply::kNotOpen;
        Refresh();
        QCOMPARE(Texts().first(), QString("Home"));
        QCOMPARE(Enabled(), FirstEnabled(0));
        // Busy with a reply: disabled as well.
        protocol().ReplyState = reply::kCollecting;
        Refresh();
        QCOMPARE(Enabled(), FirstEnabled(0));

        // Closing the set empties the bar.
        ScriptedUi ui;
        protocol().ReplyState = reply::kIdle;
        ui.answers = {Answer::No};
        QVERIFY(macroDoc().CloseFileDocument());
        Refresh();
        QCOMPARE(Texts(), QStringList(10, QString()));
        QCOMPARE(Enabled(), FirstEnabled(0));
    }

    void menuRulesFollowTheSet() {
        QTemporaryDir dir;
        ScriptedUi ui;
        Cmacdoc& set = macroDoc();
        QVERIFY(commands().IsEnabled(ID_MACRO_FILE_NEW));
        QVERIFY(commands().IsEnabled(ID_MACRO_FILE_OPEN));
        for (int id : {ID_MACRO_FILE_CLOSE, ID_MACRO_FILE_SAVE, ID_MACRO_FILE_SAVE_AS, ID_MACRO_EDIT})
            QVERIFY(!commands().IsEnabled(id));

        // A set read from a file has a name: Close, Save As and Edit; Save only once it changed.
        const std::string path = dir.filePath("set.mac").toStdString();
        QVERIFY(WriteTestFile(path, QByteArray(4, '\0')));
        QVERIFY(set.OpenFile(path));
        for (int id : {ID_MACRO_FILE_CLOSE, ID_MACRO_FILE_SAVE_AS, ID_MACRO_EDIT})
            QVERIFY(commands().IsEnabled(id));
        QVERIFY(!commands().IsEnabled(ID_MACRO_FILE_SAVE));
        set.Append("A", "1");
        QVERIFY(commands().IsEnabled(ID_MACRO_FILE_SAVE));
        QVERIFY(commands().Run(ID_MACRO_FILE_SAVE));
        QVERIFY(!set.IsModified());
        QVERIFY(commands().Run(ID_MACRO_FILE_CLOSE));
        QVERIFY(!commands().IsEnabled(ID_MACRO_EDIT));
    }

    void buttonRunsItsMacroThroughTheLink() {
        ScriptedUi ui;
        commLink().Simulate = true;
        commLink().OpenCommunication();
        macroDoc().Append("Home", "HOME");
        QVERIFY(commands().Run(ID_MACRO_BUTTON_FIRST));
        QCOMPARE(protocol().LastReplyLine.substr(0, 4), std::string("HOME"));
        QCOMPARE(protocol().ReplyState, reply::kIdle);
        // Beyond the set a button does nothing.
        QVERIFY(!commands().Run(ID_MACRO_BUTTON_FIRST + 1));
        QVERIFY(ui.messages.empty());
    }
};

QTEST_MAIN(MacroBarTest)
#include "MacroBarTest.moc"
