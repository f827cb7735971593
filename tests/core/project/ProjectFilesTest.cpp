#include "core/project/ProjectFiles.h"
#include "ConsoleModel.h"
#include "core/base/AppHooks.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/link/CommLink.h"
#include "core/project/CPosDat.h"
#include "core/project/ProjectCommands.h"
#include "core/project/ProjectModel.h"
#include "core/project/ProjectPair.h"
#include "core/project/ProjectService.h"
#include "core/protocol/Protocol.h"
#include "support/FileFormatCheck.h"
#include "support/ImageBuilder.h"

#include <QDir>
#include <QFile>
#include <ostream>

using namespace runlist;

namespace {

using Lines = std::vector<std::string>;

// One Cartesian place with an approach and a joint route of three slots with one line in use.
ImageBuilder PlaceAndRoute() {
    return ImageBuilder()
        .Place("P1", ImageBuilder::Record({1500, -20, 900}, 2), ImageBuilder::Record({0, 0, 50}, 3))
        .Route("R1", 3, {ImageBuilder::Record({10, 20, 30, 40, 50, 60})});
}

class ProjectFiles : public CoreTest {
protected:
    ProjectFiles() {
        QObject::connect(&projectService(), &ProjectService::Changed, [this](ProjectService::Changes what) {
            for (const auto& [flag, letter] : {std::pair{ProjectService::Opened, 'O'},
                                               {ProjectService::Closed, 'C'},
                                               {ProjectService::Image, 'I'},
                                               {ProjectService::Names, 'N'}})
                if (what.testFlag(flag))
                    announced += letter;
        });
    }
    // Writes `base`.run and `base`.ed1 (and the source, when given) of a project.
    std::string WriteProject(const std::string& base, const ImageBuilder& project,
                             const char* source = nullptr) {
        Write(base + ".ed1", QByteArray::fromStdString(project.Declarations()));
        if (source)
            Write(base + ".ed2", source);
        return Write(base + ".run", project.Bytes());
    }
    bool SaveAs(const std::string& name) {
        ui.fileNames = {Path(name)};
        return doc.SaveFileDocumentAs();
    }
    // The controller's RUN-LIST up to its terminator, as the PC's image holds it.
    QByteArray ControllerImage() {
        QByteArray bytes(reinterpret_cast<const char*>(controller.Bank(1)), model.RunListEnd + 2);
        for (int e = model.FirstEntry(); e != kNoEntry; e = model.NextEntry(e))
            bytes[e + kNameIndex] = static_cast<char>(model.Word(e + kNameIndex));
        return bytes;
    }

    CPosDat& doc = projectDocument();
    ProjectModel& model = projectModel();
    std::string announced; // "O" opened, "C" closed, "I" image and "N" names changed
};

TEST_F(ProjectFiles, AProjectRoundTripsAndDamageIsRefused) {
    const ImageBuilder project = PlaceAndRoute();
    Write("sample.ed1", QByteArray::fromStdString(project.Declarations()));
    Write("damaged.ed1", QByteArray::fromStdString(project.Declarations()));
    CheckFileFormat(dir.path().toStdString(), ui,
                    {project.Bytes(),
                     [this](const std::string& p) {
                         doc.CloseFileDocument();
                         return doc.OpenFile(p);
                     },
                     [this](const std::string& p) {
                         ui.fileNames = {p};
                         return doc.SaveFileDocumentAs();
                     },
                     // Nothing of a refused project stays, and nothing of it reaches the controller.
                     [this] {
                         return RunFileBytes(model).mid(16).toHex().toStdString() +
                                std::to_string(model.EntryNames.size()) + doc.GetPathName() +
                                std::to_string(controller.written.size());
                     },
                     [this] { doc.CloseFileDocument(); }, false});
}

TEST_F(ProjectFiles, OpeningBindsTheNamesAndTheControllerGetsImageDeclarationsAndSource) {
    ASSERT_TRUE(doc.OpenFile(WriteProject("pr", PlaceAndRoute(), ": TWICE 2 * ;\n")));
    EXPECT_EQ(model.EntryNames, (Lines{"P1", "R1"}));
    // R1's entry, path, modified, announced, box open, messages.
    EXPECT_EQ(std::make_tuple(model.FindEntry("R1"), doc.GetPathName(), doc.IsModified(), announced,
                              ui.boxOpen, ui.messages.size()),
              std::make_tuple(64, Path("pr.run"), false, std::string("O"), false, size_t{0}));
    EXPECT_EQ(ControllerImage(), PlaceAndRoute().Bytes());
    EXPECT_EQ(Sent(), (Lines{"1 BANK C! DECIMAL RUN-LIST 128 RECEIVE", "|", "KAVENTRIX", "STARTOVER",
                             "PLACE P1", "ROUTE R1", "IOFLAG C0SET", ": TWICE 2 * ;", ""}));
    EXPECT_EQ(texts.calls, Lines{"show " + Path("pr.ed2")});
}

TEST_F(ProjectFiles, DeclarationsThatDoNotFitTheImageEmptyTheProject) {
    const QByteArray image = PlaceAndRoute().Bytes();
    QByteArray farLink = image;
    farLink[64] = static_cast<char>(0xF2); // the route's link: 65522, past the limit
    farLink[65] = static_cast<char>(0xFF);
    const std::string both = PlaceAndRoute().Declarations();
    // The .run and .ed1 files (empty: none), the message (empty: opened) and the names bound.
    const std::tuple<QByteArray, std::string, std::string, Lines> rows[] = {
        {image, "KAVENTRIX\nSTARTOVER\nPLACE P1\nROUTE R1\nPLACE P2\n", "run file too short", {}},
        {image, "KAVENTRIX\nSTARTOVER\nROUTE X\n", "X not an old ROUTE", {}},
        {image, "KAVENTRIX\nSTARTOVER\nPLACE P1\nPLACE Y\n", "Y not an old PLACE", {}},
        {image,
         "KAVENTRIX STARTOVER\r\n( a comment ) place x\r\nPLACE P1 \\ more\r\n\r\nROUTE R1",
         "",
         {"P1", "R1"}},
        {image, "KAVENTRIX\nSTARTOVER\nPLACE P1\n", "", {"P1"}},
        {farLink, both, "PC has insufficient space for run-list", {}},
        {{}, both, "Cannot open file " + Path("pr.run"), {}},
        {image, "", Path("pr.ed1") + " could not be opened", {}},
    };
    for (const auto& [run, ed1, message, names] : rows) {
        SCOPED_TRACE(ed1 + message);
        for (const char* name : {"pr.run", "pr.ed1"})
            QFile::remove(QString::fromStdString(Path(name)));
        if (!run.isEmpty())
            Write("pr.run", run);
        if (!ed1.empty())
            Write("pr.ed1", ed1);
        ui.messages.clear();
        doc.CloseFileDocument();
        const bool opened = doc.OpenFile(Path("pr.run"));
        EXPECT_EQ(std::make_tuple(opened, ui.messages, model.EntryNames, model.EntryCount(),
                                  model.Word(model.RunListEnd)),
                  std::make_tuple(message.empty(), message.empty() ? Lines{} : Lines{message}, names,
                                  int(names.size()), 0));
    }
}

TEST_F(ProjectFiles, CompanionsAreFoundWhateverTheirCaseAndSavedInPlace) {
    Write("Mixed.RUN", PlaceAndRoute().Bytes());
    Write("Mixed.Ed1", QByteArray::fromStdString(PlaceAndRoute().Declarations()));
    Write("Mixed.ed2", "1 2 +\n");
    ASSERT_TRUE(doc.OpenFile(Path("Mixed.run")));
    model.EntryNames[0] = "P9";
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.SaveFileDocument());
    EXPECT_EQ(Read("Mixed.Ed1"), "KAVENTRIX\nSTARTOVER\nPLACE P9\nROUTE R1\n");
    EXPECT_FALSE(TestFileExists(Path("Mixed.ED1")) || TestFileExists(Path("Mixed.ED2")));
    // The source found at the save stays the project's: a twin made later does not hide its edits.
    Write("Mixed.ED2", "");
    texts.docs[Path("Mixed.ed2")].modified = true;
    EXPECT_EQ(doc.Ed2Path(), Path("Mixed.ed2"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ChangeExtension("/a/b.d/proj", "ED2") + "|" + ChangeExtension("", "ED1"), "/a/b.d/proj.ED2|");
}

TEST_F(ProjectFiles, SaveAsTakesTheSourceAlongWithItsUnsavedEdits) {
    ASSERT_TRUE(doc.OpenFile(WriteProject("a", ImageBuilder(), ": TWICE 2 * ;\n")));
    texts.docs[Path("a.ed2")] = {": TWICE 3 * ;\n", true};
    EXPECT_TRUE(doc.IsModified()) << "unsaved source edits count";
    ASSERT_TRUE(SaveAs("b.run"));
    EXPECT_EQ(Read("b.run").size(), 18);
    EXPECT_EQ(Read("b.ED1") + Read("b.ED2") + Read("a.ed2"),
              "KAVENTRIX\nSTARTOVER\n: TWICE 3 * ;\n: TWICE 2 * ;\n");
    EXPECT_EQ(std::make_tuple(doc.Ed2Path(), doc.IsModified()), std::make_tuple(Path("b.ED2"), false));
    EXPECT_EQ(ui.boxTexts.back(), "Saving " + Path("b.ED2"));
    InstallScreen({&ui}); // without a text editor the source file is copied
    ASSERT_TRUE(SaveAs("c.run"));
    EXPECT_EQ(Read("c.ED2"), ": TWICE 3 * ;\n");
}

TEST_F(ProjectFiles, AFailedSaveLeavesTheOldFiles) {
    Write("q.run", "old run bytes");
    ASSERT_TRUE(QDir(dir.path()).mkdir("q.ED1")); // the declarations cannot be written
    doc.SetModifiedFlag();
    EXPECT_FALSE(SaveAs("q.run"));
    EXPECT_EQ(std::make_tuple(ui.messages, Read("q.run"), doc.IsModified(), ui.boxOpen),
              std::make_tuple(Lines{Path("q.ED1") + " could not be opened"}, QByteArray("old run bytes"),
                              true, false));

    // A write that fails after the file opened fails the save too.
    struct RefusingBuffer : std::streambuf {
        int_type overflow(int_type c) override { return c == '\n' ? traits_type::eof() : c; }
    } refusing;
    std::ostream stream(&refusing);
    EXPECT_FALSE(WriteDeclarations(stream));
}

// What an interrupted save of the pair left behind, and what opening the project makes of it.
TEST_F(ProjectFiles, AnInterruptedPairSaveIsFinishedOrUndoneAtOpening) {
    const QByteArray whole("p.run\np.ED1\nend\n");
    // What was left, the marker (empty: none), the .run and .ed1 still under their temporary names,
    // and whether the new pair is the outcome.
    const std::tuple<const char*, QByteArray, bool, bool, bool> cases[] = {
        {"both files written, no marker", "", true, true, false},
        {"marker cut short", "p.run\np.E", true, true, false},
        {"marker without its end", "p.run\np.ED1\n", true, true, false},
        {"marker, nothing renamed", whole, true, true, true},
        {"marker, .run renamed", whole, false, true, true},
        {"marker, both renamed", whole, false, false, true},
    };
    for (const auto& [left, marker, runTemp, ed1Temp, newPair] : cases) {
        Write("p.run", marker == whole && !runTemp ? "new run" : "old run");
        Write("p.ED1", marker == whole && !ed1Temp ? "new ed1" : "old ed1");
        if (runTemp)
            Write("p.run.new", "new run");
        if (ed1Temp)
            Write("p.ED1.new", "new ed1");
        if (!marker.isEmpty())
            Write("p.run.pair", marker);
        RecoverProjectPair(Path("p.run"), Path("p.ED1"));
        EXPECT_EQ(Read("p.run") + Read("p.ED1"), newPair ? "new runnew ed1" : "old runold ed1") << left;
        EXPECT_EQ(QDir(dir.path()).entryList({"p.*"}, QDir::Files), QStringList({"p.ED1", "p.run"})) << left;
    }
}

TEST_F(ProjectFiles, NewStartsTheControllerOverAndCloseAsksFirst) {
    CommandRegistry registry;
    BindProjectCommands(registry);
    Write("n.ED2", "OLD SOURCE\n");
    ui.fileNames = {Path("n.run")};
    EXPECT_TRUE(registry.Run(ID_PROJECT_NEW));
    EXPECT_EQ(Sent(), (Lines{"KAVENTRIX", "STARTOVER", "NEW"}));
    // The source emptied and shown, the path taken, the .run written only on the first save.
    EXPECT_EQ(std::make_tuple(Read("n.ED2"), texts.IsOpen(Path("n.ED2")), doc.GetPathName(),
                              TestFileExists(Path("n.run")), announced),
              std::make_tuple(QByteArray(), true, Path("n.run"), false, std::string("CO")));

    projectService().AllocateEntry(kPlaceParagraphs, "P1");
    projectService().SetActiveRoute(16);
    doc.SetModifiedFlag();
    // Exit asks as well, and its "Cancel" keeps the project; the main window's pane shows its name.
    ui.answers = {Answer::Cancel, Answer::No};
    EXPECT_FALSE(appHooks().AskCloseQuestions());
    EXPECT_EQ(appHooks().ProjectTitle(), "n.run");
    EXPECT_TRUE(registry.Run(ID_PROJECT_CLOSE));
    EXPECT_EQ(ui.questions, Lines(2, "The Project has been modified, do you wish to save it?"));
    EXPECT_TRUE(model.EntryNames.empty() && !texts.IsOpen(Path("n.ED2")) && doc.GetPathName().empty());
    EXPECT_EQ(model.ActiveRoute, kNoEntry);
    EXPECT_GT(ui.kicks, 0);
}

// An open project, on the controller as well.
class ProjectTransfer : public ProjectFiles {
protected:
    ProjectTransfer() {
        EXPECT_TRUE(doc.OpenFile(WriteProject("pr", PlaceAndRoute(), "1 2 +\n")));
        Sent();
        ui.boxTexts.clear();
    }
};

TEST_F(ProjectTransfer, UpdateBringsBackWhatTheControllerLearnedAndKeepsTheNames) {
    controller.Run("DECIMAL 6 -5 4 -3 2 -1 JMA");
    controller.Run("R1 LEARN");
    Sent();
    announced.clear();
    doc.UpdateData();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(announced, "IN");
    EXPECT_EQ(Sent(), Lines{"1 BANK C! DECIMAL RUN-LIST NEXT @ RUN-LIST - TRANSMIT"});
    EXPECT_EQ(model.Line(64, 2), ImageBuilder::Record({-1, 2, -3, 4, -5, 6}));
    EXPECT_EQ(model.EntryName(64), "R1");
    // Line count, head, terminator, modified, box open.
    EXPECT_EQ((std::vector<int>{model.LineCount(64), model.Word(0), model.Word(model.RunListEnd),
                                doc.IsModified(), ui.boxOpen}),
              (std::vector<int>{2, 16, 0, 1, 0}));

    // "Reload" puts the PC's image back on the controller, then the declarations and the source.
    model.SetWord(64 + kCount, 1);
    doc.ReloadProject();
    EXPECT_EQ(controller.console().RunList().Count(64), 1);
    EXPECT_EQ(ui.boxTexts, (Lines{"Uploading", "Downloading data", "Downloading .ed1 file",
                                  "Downloading " + Path("pr.ed2")}));
}

TEST_F(ProjectTransfer, AListThatNoLongerFitsTheNamesEmptiesTheProject) {
    controller.Run("FORGET R1"); // the controller's list is one entry short
    doc.UpdateData();
    EXPECT_EQ(ui.messages, Lines{"run list too short"});
    EXPECT_TRUE(model.FirstEntry() == kNoEntry && model.EntryNames.empty());

    model.EntryNames = {"P1"};
    controller.Bank(1)[16] = 0xF8; // P1's link beyond the limit: 65528
    controller.Bank(1)[17] = 0xFF;
    doc.UpdateData();
    EXPECT_EQ(ui.messages.back(), "Insufficient space for run list");
    EXPECT_EQ(model.FirstEntry(), kNoEntry);
}

TEST_F(ProjectTransfer, AFailedOrSimulatedUpdateKeepsTheProject) {
    controller.cancelAtEnq = controller.enqs + 1;
    doc.UpdateData();
    EXPECT_EQ(ui.messages, Lines{"Upload failed, data may now be invalid"});
    EXPECT_TRUE(model.RunListEnd == 128 && model.EntryNames.size() == 2u);

    doc.SetModifiedFlag(false);
    commLink().Simulate = true;
    doc.UpdateData();
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ProjectTransfer, ARefusedDeclarationStopsTheTextButSetsTheIoFlag) {
    controller.refusedLine = "STARTOVER";
    EXPECT_FALSE(doc.DownloadText());
    EXPECT_EQ(Sent(), (Lines{"|", "KAVENTRIX", "STARTOVER", "IOFLAG C0SET"}));
    EXPECT_EQ(ui.messages, Lines{"> expected"});
    EXPECT_FALSE(protocol().ControllerStream.fail() || controller.console().PromptOnly() ||
                 protocol().heldBox);

    // Opening such a project closes it again.
    EXPECT_FALSE(doc.OpenFile(Path("pr.run")));
    EXPECT_TRUE(doc.GetPathName().empty());
    QFile::remove(QString::fromStdString(Path("pr.ed2")));
    controller.refusedLine.clear();
    ui.messages.clear();
    Sent();
    EXPECT_TRUE(doc.OpenFile(Path("pr.run")));
    EXPECT_EQ(Sent().back(), "IOFLAG C0SET") << "a missing source is skipped silently";
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
