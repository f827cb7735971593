#include "support/ProjectTestSupport.h"

#include "core/project/ProjectFiles.h"

#include <QFileInfo>
#include <sstream>

using namespace runlist;

namespace {

void Put16(QByteArray& bytes, int offset, int value) {
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>((value >> 8) & 0xFF);
}

// The .run bytes of one place P1 (Cartesian, values 2500 and -100) and one General route R1 of two
// lines, written out field by field.
QByteArray PlaceAndRouteBytes() {
    QByteArray b(114, '\0');
    Put16(b, 0, 16);
    Put16(b, 4, 4);
    Put16(b, 12, 8);
    Put16(b, 16, 64); // place: link, name index 0, kind 2, fixed 8
    Put16(b, 20, 2);
    Put16(b, 28, 8);
    Put16(b, 32, 2500); // position record
    Put16(b, 36, -100);
    Put16(b, 44, 2);
    Put16(b, 60, 3);   // approach record: code 3
    Put16(b, 64, 112); // route: link, name index 1, kind 4, fixed 8
    Put16(b, 66, 1);
    Put16(b, 68, 4);
    Put16(b, 76, 8);
    return b;
}

const char* const kPlaceAndRouteEd1 = "KAVENTRIX\nSTARTOVER\nPLACE P1\nROUTE R1\n";

} // namespace

TEST(ChangeExtensionTest, ReplacesOrAddsTheExtension) {
    EXPECT_EQ(ChangeExtension("/a/b/proj.run", "ED1"), "/a/b/proj.ED1");
    EXPECT_EQ(ChangeExtension("/a/b.d/proj", "ED2"), "/a/b.d/proj.ED2");
    EXPECT_EQ(ChangeExtension("proj.x.run", "ed1"), "proj.x.ed1");
    EXPECT_EQ(ChangeExtension("", "ED1"), "");
}

TEST_F(ProjectTest, EmptyProjectSavesEighteenBytes) {
    ui.savePath = Path("empty.run");
    ASSERT_TRUE(doc.SaveFileDocumentAs());
    const QByteArray run = ReadFile(QPath("empty.run"));
    ASSERT_EQ(run.size(), 18);
    QByteArray expected(18, '\0');
    Put16(expected, 0, 16);
    Put16(expected, 4, 4);
    Put16(expected, 12, 8);
    EXPECT_EQ(run, expected);
    EXPECT_EQ(ReadFile(QPath("empty.ED1")), QByteArray("KAVENTRIX\nSTARTOVER\n"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.GetTitle(), "empty.run");
}

TEST_F(ProjectTest, PlaceAndRouteSaveByteForByte) {
    AddPlace("P1");
    AddRoute("R1", 2);
    ui.savePath = Path("pr.run");
    ASSERT_TRUE(doc.SaveFileDocumentAs());
    EXPECT_EQ(ReadFile(QPath("pr.run")), PlaceAndRouteBytes());
    EXPECT_EQ(ReadFile(QPath("pr.ED1")), QByteArray(kPlaceAndRouteEd1));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ui.boxTexts, (std::vector<std::string>{"Saving data", "Saving " + Path("pr.ED1")}));
}

TEST_F(ProjectTest, OpenBindsNamesAndSendsTheImage) {
    WriteFile(QPath("pr.run"), PlaceAndRouteBytes());
    WriteFile(QPath("pr.ed1"), kPlaceAndRouteEd1);
    ASSERT_TRUE(doc.OpenFile(Path("pr.run")));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(model.EntryNames, (std::vector<std::string>{"P1", "R1"}));
    EXPECT_EQ(model.RunListEnd, 112);
    EXPECT_EQ(model.FindEntry("R1"), 64);
    EXPECT_EQ(model.RouteCapacity(64), 2);
    EXPECT_EQ(doc.GetPathName(), Path("pr.run"));
    EXPECT_FALSE(doc.IsModified());

    // The image went out first, then the declarations.
    ASSERT_GE(controller.lines.size(), 4u);
    EXPECT_EQ(controller.lines[0], "1 BANK C! DECIMAL RUN-LIST 112 RECEIVE");
    EXPECT_EQ(controller.downloaded.substr(0, 114), PlaceAndRouteBytes().toStdString());
    EXPECT_EQ(controller.downloaded.size(), 256u);
    const std::vector<std::string> declared(controller.lines.begin() + 2, controller.lines.begin() + 6);
    EXPECT_EQ(declared, (std::vector<std::string>{"KAVENTRIX", "STARTOVER", "PLACE P1", "ROUTE R1"}));
    EXPECT_EQ(announced, std::vector<std::string>{"opened"});
}

TEST_F(ProjectTest, ShorterDeclarationsDropTheExtraEntries) {
    WriteFile(QPath("pr.run"), PlaceAndRouteBytes());
    WriteFile(QPath("pr.ed1"), "KAVENTRIX\nSTARTOVER\nPLACE P1\n");
    ASSERT_TRUE(doc.OpenFile(Path("pr.run")));
    EXPECT_EQ(model.EntryNames, std::vector<std::string>{"P1"});
    EXPECT_EQ(model.RunListEnd, 64);
    EXPECT_EQ(model.Word(64), 0);
    EXPECT_EQ(model.NextEntry(16), kNoEntry);
}

TEST_F(ProjectTest, OtherTokensAreSkipped) {
    WriteFile(QPath("pr.run"), PlaceAndRouteBytes());
    WriteFile(QPath("pr.ed1"),
              "KAVENTRIX STARTOVER\r\n( a comment ) place x\r\nPLACE P1 \\ more\r\n\r\nROUTE R1");
    ASSERT_TRUE(doc.OpenFile(Path("pr.run")));
    EXPECT_EQ(model.EntryNames, (std::vector<std::string>{"P1", "R1"}));
}

TEST_F(ProjectTest, DeclarationErrorsEmptyTheProject) {
    struct Case {
        const char* ed1;
        std::string message;
    };
    const Case cases[] = {
        {"KAVENTRIX\nSTARTOVER\nPLACE P1\nROUTE R1\nPLACE P2\n", "run file too short"},
        {"KAVENTRIX\nSTARTOVER\nROUTE X\n", "X not an old ROUTE"},
        {"KAVENTRIX\nSTARTOVER\nPLACE P1\nPLACE Y\n", "Y not an old PLACE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ed1);
        WriteFile(QPath("pr.run"), PlaceAndRouteBytes());
        WriteFile(QPath("pr.ed1"), c.ed1);
        ui.messages.clear();
        EXPECT_FALSE(doc.OpenFile(Path("pr.run")));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0], c.message);
        EXPECT_TRUE(model.EntryNames.empty());
        EXPECT_EQ(model.FirstEntry(), kNoEntry);
        EXPECT_EQ(model.RunListEnd, 16);
    }
}

TEST_F(ProjectTest, LinkBeyondTheLimitIsRefused) {
    QByteArray run = PlaceAndRouteBytes();
    Put16(run, 64, 65522);
    WriteFile(QPath("pr.run"), run);
    WriteFile(QPath("pr.ed1"), kPlaceAndRouteEd1);
    EXPECT_FALSE(doc.OpenFile(Path("pr.run")));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"PC has insufficient space for run-list"});
    EXPECT_EQ(model.FirstEntry(), kNoEntry);
}

TEST_F(ProjectTest, MissingFilesAreReported) {
    EXPECT_FALSE(doc.OpenFile(Path("nothing.run")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find(Path("nothing.run")), std::string::npos);

    WriteFile(QPath("pr.run"), PlaceAndRouteBytes());
    ui.messages.clear();
    EXPECT_FALSE(doc.OpenFile(Path("pr.run")));
    EXPECT_EQ(ui.messages, std::vector<std::string>{Path("pr.ed1") + " could not be opened"});
    EXPECT_TRUE(model.EntryNames.empty());
    EXPECT_TRUE(controller.lines.empty());
}

TEST_F(ProjectTest, CompanionFilesAreFoundWhateverTheirCase) {
    WriteFile(QPath("Mixed.RUN"), PlaceAndRouteBytes());
    WriteFile(QPath("Mixed.Ed1"), kPlaceAndRouteEd1);
    WriteFile(QPath("Mixed.ed2"), "1 2 +\n");
    ASSERT_TRUE(doc.OpenFile(Path("Mixed.run")));
    EXPECT_EQ(model.EntryNames.size(), 2u);
    EXPECT_EQ(doc.Ed2Path(), Path("Mixed.ed2"));
    EXPECT_TRUE(texts.IsOpen(Path("Mixed.ed2")));

    // Saving rewrites the companions that are there instead of adding upper-case twins.
    model.EntryNames[0] = "P9";
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.SaveFileDocument());
    EXPECT_EQ(ReadFile(QPath("Mixed.Ed1")), QByteArray("KAVENTRIX\nSTARTOVER\nPLACE P9\nROUTE R1\n"));
    EXPECT_FALSE(QFileInfo::exists(QPath("Mixed.ED1")));
    EXPECT_FALSE(QFileInfo::exists(QPath("Mixed.ED2")));

    // The source found at the save stays the project's: a twin made later does not hide its edits.
    WriteFile(QPath("Mixed.ED2"), "");
    texts.docs[Path("Mixed.ed2")].modified = true;
    EXPECT_EQ(doc.Ed2Path(), Path("Mixed.ed2"));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ProjectTest, WriteDeclarationsStopsWhenTheStreamFails) {
    AddPlace("P1");
    AddRoute("R1", 2);
    std::ostringstream out;
    out.setstate(std::ios::failbit); // an earlier failure does not count
    EXPECT_TRUE(WriteDeclarations(out));
    EXPECT_EQ(out.str(), kPlaceAndRouteEd1);

    // A receiver that refuses the third line (the first declaration).
    struct RefusingBuffer : std::streambuf {
        std::string text;
        int lines = 0;
        int_type overflow(int_type c) override {
            if (c == '\n' && ++lines == 3)
                return traits_type::eof();
            text += static_cast<char>(c);
            return c;
        }
    } buffer;
    std::ostream refusing(&buffer);
    EXPECT_FALSE(WriteDeclarations(refusing));
    EXPECT_TRUE(refusing.good());
    EXPECT_EQ(buffer.text, "KAVENTRIX\nSTARTOVER\nPLACE P1");
}
