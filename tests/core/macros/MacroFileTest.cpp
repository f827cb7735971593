#include "core/macros/MacroFile.h"

#include <gtest/gtest.h>

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

using Strings = std::vector<std::string>;

TEST(MacroFile, TwoMacrosAreTheKnownBytes) {
    const QByteArray bytes = macfile::WriteMacroFile({"A", "B"}, {"1", "2"});
    EXPECT_EQ(bytes, Bytes({0x02, 0x00, 0x01, 'A', 0x01, 'B', 0x02, 0x00, 0x01, '1', 0x01, '2'}));

    Strings names, texts;
    ASSERT_TRUE(macfile::ReadMacroFile(bytes, names, texts));
    EXPECT_EQ(names, (Strings{"A", "B"}));
    EXPECT_EQ(texts, (Strings{"1", "2"}));
    EXPECT_EQ(macfile::WriteMacroFile({}, {}), Bytes({0, 0, 0, 0}));
}

// The prefix written for a string of length n, read back from the file's text array.
QByteArray TextPrefix(size_t n) {
    const QByteArray bytes = macfile::WriteMacroFile({"x"}, {std::string(n, 'q')});
    // names: count 2 + "x" 2 bytes; texts: count 2, then the string's prefix.
    return bytes.mid(6, bytes.size() - 6 - static_cast<qsizetype>(n));
}

TEST(MacroFile, StringLengthsChangeEncodingAtTheirLimits) {
    EXPECT_EQ(TextPrefix(0), Bytes({0x00}));
    EXPECT_EQ(TextPrefix(254), Bytes({0xFE}));
    EXPECT_EQ(TextPrefix(255), Bytes({0xFF, 0xFF, 0x00}));
    EXPECT_EQ(TextPrefix(0x1234), Bytes({0xFF, 0x34, 0x12}));
    EXPECT_EQ(TextPrefix(0xFFFD), Bytes({0xFF, 0xFD, 0xFF}));
    EXPECT_EQ(TextPrefix(0xFFFE), Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(TextPrefix(0x12345), Bytes({0xFF, 0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}));
}

TEST(MacroFile, LongStringsAndCrLfTextsSurviveARoundTrip) {
    const Strings names{std::string(32, 'N'), "", "x"};
    const Strings texts{"HOME\r\nCALIBRATE", std::string(300, 'a'), std::string(70000, '\xE9')};
    Strings readNames, readTexts;
    ASSERT_TRUE(macfile::ReadMacroFile(macfile::WriteMacroFile(names, texts), readNames, readTexts));
    EXPECT_EQ(readNames, names);
    EXPECT_EQ(readTexts, texts);
}

TEST(MacroFile, CountsOf0xFFFFOrMoreUseTheLongForm) {
    const Strings many(0xFFFF, "");
    const QByteArray bytes = macfile::WriteMacroFile(many, many);
    EXPECT_EQ(bytes.left(6), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    Strings names, texts;
    ASSERT_TRUE(macfile::ReadMacroFile(bytes, names, texts));
    EXPECT_EQ(names.size(), 0xFFFFu);
    EXPECT_EQ(texts.size(), 0xFFFFu);

    const QByteArray fewer = macfile::WriteMacroFile(Strings(0xFFFE, ""), {});
    EXPECT_EQ(fewer.left(2), Bytes({0xFE, 0xFF}));
}

TEST(MacroFile, DamagedFilesAreRefusedAndKeepWhatWasRead) {
    Strings names, texts;
    // Cut in the middle of the texts array: the names are kept, the arrays stay in step.
    QByteArray cut = macfile::WriteMacroFile({"A", "B"}, {"1", "22"});
    cut.chop(1);
    EXPECT_FALSE(macfile::ReadMacroFile(cut, names, texts));
    EXPECT_EQ(names, (Strings{"A", "B"}));
    EXPECT_EQ(texts, (Strings{"1", ""}));

    EXPECT_FALSE(macfile::ReadMacroFile(Bytes({0x01}), names, texts));
    EXPECT_TRUE(names.empty());
    // A count far beyond the file's size.
    EXPECT_FALSE(macfile::ReadMacroFile(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}), names, texts));
    // The wide-character marker is not a length.
    EXPECT_FALSE(macfile::ReadMacroFile(Bytes({0x01, 0x00, 0xFF, 0xFE, 0xFF, 0x00, 0x00}), names, texts));
}

TEST(MacroFile, ArraysOfDifferentSizesAreKeptInStep) {
    // Two names, one text: the second macro gets an empty text.
    const QByteArray bytes = Bytes({0x02, 0x00, 0x01, 'A', 0x01, 'B', 0x01, 0x00, 0x01, '1'});
    Strings names, texts;
    EXPECT_TRUE(macfile::ReadMacroFile(bytes, names, texts));
    EXPECT_EQ(names, (Strings{"A", "B"}));
    EXPECT_EQ(texts, (Strings{"1", ""}));
}

} // namespace
