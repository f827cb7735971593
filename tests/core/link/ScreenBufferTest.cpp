#include "core/link/Ccom1doc.h"

#include <gtest/gtest.h>

namespace {

void Put(Ccom1doc& doc, const std::string& text) {
    for (char c : text)
        doc.PutChar(c);
}

TEST(ScreenBuffer, FreshDocumentHoldsOneEmptyLine) {
    Ccom1doc doc;
    EXPECT_EQ(doc.GetLineCount(), 1);
    EXPECT_EQ(doc.GetLine(0), "");
    EXPECT_EQ(doc.GetColumn(), 0);
    EXPECT_EQ(doc.GetWidth(), 80);
}

TEST(ScreenBuffer, TheCharacterThatFillsTheLastColumnWraps) {
    Ccom1doc doc;
    for (int i = 0; i < 79; ++i)
        EXPECT_TRUE(doc.PutChar('a'));
    EXPECT_FALSE(doc.PutChar('z'));
    EXPECT_EQ(doc.GetLineCount(), 2);
    EXPECT_EQ(doc.GetLine(0), std::string(79, 'a') + "z");
    EXPECT_EQ(doc.GetColumn(), 0);
    // CR LF after a full line leaves an empty line behind it.
    doc.CarriageReturn();
    doc.NewLine();
    EXPECT_EQ(doc.GetLineCount(), 3);
    EXPECT_EQ(doc.GetLine(1), "");
}

TEST(ScreenBuffer, RingDropsTheOldestLineAfter200) {
    Ccom1doc doc;
    for (int i = 0; i < 201; ++i) {
        Put(doc, "line" + std::to_string(i));
        doc.NewLine();
    }
    EXPECT_EQ(doc.GetLineCount(), 200);
    EXPECT_EQ(doc.GetLine(0), "line2");
    EXPECT_EQ(doc.GetLine(198), "line200");
    EXPECT_EQ(doc.GetLastLine(), "line200");
    EXPECT_EQ(doc.GetLine(199), "");
    const std::string saved = doc.SavedText();
    EXPECT_EQ(saved.substr(0, 7), "line2\r\n");
    EXPECT_EQ(saved.substr(saved.size() - 9), "line200\r\n");
}

TEST(ScreenBuffer, BackspaceAndCarriageReturnOverwrite) {
    Ccom1doc doc;
    Put(doc, "AB");
    doc.BackSpace();
    Put(doc, "X");
    EXPECT_EQ(doc.GetLine(0), "AX");
    doc.CarriageReturn();
    doc.BackSpace();
    EXPECT_EQ(doc.GetColumn(), 0);
    Put(doc, "Q");
    EXPECT_EQ(doc.GetLine(0), "QX");
}

TEST(ScreenBuffer, WidthIsClampedAndKeepsStoredText) {
    Ccom1doc doc;
    doc.SetLineWidth(40);
    EXPECT_EQ(doc.GetWidth(), 80);
    doc.SetLineWidth(200);
    EXPECT_EQ(doc.GetWidth(), 132);
    for (int i = 0; i < 131; ++i)
        EXPECT_TRUE(doc.PutChar('b'));
    EXPECT_FALSE(doc.PutChar('b'));
    EXPECT_EQ(doc.GetLine(0).size(), 132u);
}

} // namespace
