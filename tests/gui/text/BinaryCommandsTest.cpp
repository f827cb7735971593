#include "gui/text/BinaryCommands.h"
#include "core/app/CoreWiring.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "core/text/BinaryBlocks.h"
#include "gui/text/Cbinblk.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

// Answers the file dialogs with a preset path and remembers what they were asked.
class FileUi : public ScriptedUi {
public:
    std::string AskOpenFileName(const std::string&, const std::string& filter, const std::string& ext,
                                const std::string&) override {
        asked.push_back("open " + filter + " " + ext);
        return path;
    }
    std::string AskSaveFileName(const std::string&, const std::string& filter, const std::string& ext,
                                const std::string&) override {
        asked.push_back("save " + filter + " " + ext);
        return path;
    }
    std::string path;
    std::vector<std::string> asked;
};

class BinaryCommandsTest : public QObject {
    Q_OBJECT

private:
    // Runs `step` on the "Binary block" dialog once it is up (bounded: gives up after 5 s).
    static void OnDialog(std::function<void(Cbinblk&)> step, int triesLeft = 500) {
        QTimer::singleShot(10, [step, triesLeft] {
            if (auto* dialog = qobject_cast<Cbinblk*>(QApplication::activeModalWidget())) {
                step(*dialog);
                return;
            }
            if (triesLeft > 0)
                OnDialog(step, triesLeft - 1);
        });
    }
    static QString Text(Cbinblk& d, const char* name) { return d.findChild<QLineEdit*>(name)->text(); }
    static void Set(Cbinblk& d, const char* name, const QString& text) {
        d.findChild<QLineEdit*>(name)->setText(text);
    }

private slots:
    void init() {
        ResetCore();
        binblocks::blockRange() = binblocks::BlockRange();
        BindBinaryCommands(commands(), nullptr);
    }
    void cleanup() { ResetCore(); }

    void enabledOnlyWhileTheLinkIsReady() {
        protocol().ReplyState = reply::kNotOpen;
        QVERIFY(!commands().IsEnabled(ID_FILE_LOAD_BINARY));
        QVERIFY(!commands().IsEnabled(ID_FILE_SAVE_BINARY));
        protocol().ReplyState = reply::kIdle;
        QVERIFY(commands().IsEnabled(ID_FILE_LOAD_BINARY));
        QVERIFY(commands().IsEnabled(ID_FILE_SAVE_BINARY));
    }

    void saveRemembersTheRangeForTheNextLoad() {
        QTemporaryDir dir;
        FileUi ui;
        ui.path = dir.filePath("mem.ram").toStdString();
        commLink().Simulate = true;
        commLink().OpenCommunication();

        QStringList firstShown;
        OnDialog([&firstShown](Cbinblk& d) {
            firstShown << Text(d, "bank") << Text(d, "start") << Text(d, "length");
            Set(d, "bank", "2");
            Set(d, "start", "1000");
            Set(d, "length", "200");
            d.accept();
        });
        SaveBinary(nullptr);
        QCOMPARE(firstShown, (QStringList{"0", "4000", "6000"}));
        QCOMPARE(ui.asked, std::vector<std::string>{"save Binary files (*.ram)|*.ram|| ram"});
        QVERIFY(QFile::exists(dir.filePath("mem.ram")));
        QCOMPARE(ui.boxTexts.back(), "Saving " + ui.path);
        QCOMPARE(protocol().ReplyState, reply::kIdle);

        QStringList nextShown;
        OnDialog([&nextShown](Cbinblk& d) {
            nextShown << Text(d, "bank") << Text(d, "start") << Text(d, "length");
            d.reject();
        });
        LoadBinary(nullptr);
        QCOMPARE(nextShown, (QStringList{"0", "1000", "200"}));
        // Cancel ends the command before the file dialog.
        QCOMPARE(ui.asked.size(), size_t(1));
    }

    void cancelledFileDialogChangesNothingButTheRange() {
        FileUi ui;
        protocol().ReplyState = reply::kIdle;
        OnDialog([](Cbinblk& d) {
            Set(d, "start", "10");
            d.accept();
        });
        LoadBinary(nullptr);
        QCOMPARE(ui.asked, std::vector<std::string>{"open Binary files (*.ram)|*.ram|| ram"});
        QVERIFY(ui.boxTexts.empty());
        QCOMPARE(binblocks::blockRange().start, 0x10u);
    }
};

QTEST_MAIN(BinaryCommandsTest)
#include "BinaryCommandsTest.moc"
