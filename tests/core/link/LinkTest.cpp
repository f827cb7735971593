#include "core/link/Ccom1doc.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/CoreTest.h"

namespace {

void Put(Ccom1doc& doc, const std::string& text) {
    for (char c : text)
        doc.PutChar(c);
}

TEST(ScreenBuffer, LinesWrapAtTheWidthAndTheOldestGoesAfter200) {
    Ccom1doc doc;
    EXPECT_EQ(doc.GetLineCount(), 1);
    EXPECT_EQ(doc.GetLine(0), "");
    for (int i = 0; i < 79; ++i)
        EXPECT_TRUE(doc.PutChar('a'));
    EXPECT_FALSE(doc.PutChar('z')); // the character that fills the last column wraps
    EXPECT_EQ(doc.GetLine(0), std::string(79, 'a') + "z");
    EXPECT_EQ(doc.GetColumn(), 0);
    doc.CarriageReturn();
    doc.NewLine();
    EXPECT_EQ(doc.GetLineCount(), 3);
    EXPECT_EQ(doc.GetLine(1), "");
    for (int i = 0; i < 201; ++i) {
        Put(doc, "line" + std::to_string(i));
        doc.NewLine();
    }
    EXPECT_EQ(doc.GetLineCount(), 200);
    EXPECT_EQ(doc.GetLine(0), "line2");
    EXPECT_EQ(doc.GetLastLine(), "line200");
    EXPECT_EQ(doc.SavedText().substr(0, 7), "line2\r\n");
}

TEST(ScreenBuffer, BackspaceAndCarriageReturnOverwriteAndTheWidthIsClamped) {
    Ccom1doc doc;
    Put(doc, "AB");
    doc.BackSpace();
    Put(doc, "X");
    doc.CarriageReturn();
    doc.BackSpace();
    Put(doc, "Q");
    EXPECT_EQ(doc.GetLine(0), "QX");
    doc.SetLineWidth(40);
    EXPECT_EQ(doc.GetWidth(), 80);
    doc.SetLineWidth(200);
    EXPECT_EQ(doc.GetWidth(), 132);
}

class Link : public CoreTest {};

// The link reads at most 80 bytes a call until none are left; bytes above 127 are not shown.
TEST_F(Link, ReceivedTextIsReadEightyBytesAtATimeAndBytesAbove127AreDropped) {
    controller.Print(std::string(100, 'a') + "\x80\xff" + std::string(98, 'b'));
    ui.RunEvents();
    EXPECT_EQ(controller.reads, (std::vector<int>{80, 80, 40}));
    EXPECT_EQ(Terminal(), std::string(80, 'a') + "\r\n" + std::string(20, 'a') + std::string(60, 'b') +
                              "\r\n" + std::string(38, 'b'));
}

} // namespace
