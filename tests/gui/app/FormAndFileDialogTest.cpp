#include "gui/app/Cform1.h"
#include "gui/app/QtFileDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

class FormAndFileDialogTest : public QObject {
    Q_OBJECT

private:
    // Runs `drive` on the file dialog once it is up.
    void WhenDialogOpens(std::function<void(QFileDialog*)> drive) {
        QTimer::singleShot(0, this, [drive] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            drive(dialog);
        });
    }

private slots:
    void formFrameKeepsTheFormsSizeAndTitle() {
        QMdiArea area;
        area.resize(800, 600);
        auto* form = new QWidget;
        auto* layout = new QVBoxLayout(form);
        auto* edit = new QLineEdit;
        edit->setFixedSize(300, 200);
        layout->addWidget(edit);
        auto* frame = new Cform1(form, QStringLiteral("Places"));
        area.addSubWindow(frame);
        area.show();
        frame->show();
        QCOMPARE(frame->windowTitle(), QStringLiteral("Places"));
        QVERIFY(!(frame->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(frame->minimumSize(), frame->maximumSize());
        const QSize before = frame->size();
        frame->resize(before.width() + 100, before.height() + 100);
        QCOMPARE(frame->size(), before);

        edit->setFixedSize(400, 250); // the form grew
        frame->FitToForm();
        QVERIFY(frame->width() > before.width());
        QCOMPARE(frame->minimumSize(), frame->maximumSize());
    }

    void saveDialogAddsTheExtensionAndStartsInTheFolderOfTheName() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString start = QDir(dir.path()).filePath(QStringLiteral("*.cfg"));
        WhenDialogOpens([&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("New File"));
            QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("Settings Files (*.cfg)")});
            QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
            dialog->selectFile(QStringLiteral("arm"));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const std::string chosen = QtAskSaveFileName(nullptr, "New File", "Settings Files (*.cfg)|*.cfg||",
                                                     "cfg", start.toStdString());
        QCOMPARE(QFileInfo(QString::fromStdString(chosen)).fileName(), QStringLiteral("arm.cfg"));
    }

    void sourceFiltersListWhatTheirNamesSay() {
        QTemporaryDir dir;
        for (const char* name : {"move", "pick.ed2", "notes.txt"})
            QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
        // "All Files", "Forth Project Files", "Forth source files" (names without an extension).
        const QList<QStringList> expected{{"move", "notes.txt", "pick.ed2"}, {"pick.ed2"}, {"move"}};
        QList<QStringList> listed;
        WhenDialogOpens([&](QFileDialog* dialog) {
            auto* view = dialog->findChild<QListView*>("listView");
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            const auto names = [view] {
                QStringList names;
                for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                    names << view->model()->index(row, 0, view->rootIndex()).data().toString();
                names.sort();
                return names;
            };
            for (const QStringList& wanted : expected) {
                (void)QTest::qWaitFor([&] { return names() == wanted; });
                listed << names();
                QTest::keyClick(types, Qt::Key_Down); // the operator picks the next filter
            }
            dialog->reject();
        });
        QtAskOpenFileName(
            nullptr, "Download File",
            "All Files (*.*)|*.*|Forth Project Files (*.ed2)|*.ed2|Forth source files (*.)|*.||", "",
            dir.filePath("*").toStdString());
        QCOMPARE(listed, expected);
    }

    void openDialogCancelReturnsNothing() {
        WhenDialogOpens([](QFileDialog* dialog) {
            QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
            dialog->reject();
        });
        QVERIFY(QtAskOpenFileName(nullptr, "Open", "Macro Files (*.mac)|*.mac||", "mac", "*.mac").empty());
    }
};

QTEST_MAIN(FormAndFileDialogTest)
#include "FormAndFileDialogTest.moc"
