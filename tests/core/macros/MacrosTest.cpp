#include "core/macros/Cmacdoc.h"
#include "core/macros/MacroFile.h"
#include "core/protocol/Protocol.h"
#include "support/FileFormatCheck.h"

namespace {

using Strings = std::vector<std::string>;

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

TEST(MacroFile, TwoMacrosAreTheKnownBytesAndLengthsChangeFormAtTheirLimits) {
    EXPECT_EQ(macfile::WriteMacroFile({"A", "B"}, {"1", "2"}),
              Bytes({0x02, 0x00, 0x01, 'A', 0x01, 'B', 0x02, 0x00, 0x01, '1', 0x01, '2'}));
    const std::pair<size_t, QByteArray> prefixes[] = {
        {0, Bytes({0x00})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {0xFFFD, Bytes({0xFF, 0xFD, 0xFF})},
        {0xFFFE, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {0x12345, Bytes({0xFF, 0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00})},
    };
    for (const auto& [n, prefix] : prefixes) {
        // names: count and "x"; texts: count, then the string's length and bytes.
        const QByteArray bytes = macfile::WriteMacroFile({"x"}, {std::string(n, 'q')});
        EXPECT_EQ(bytes.mid(6, bytes.size() - 6 - static_cast<qsizetype>(n)), prefix) << n;
        Strings names, texts;
        EXPECT_TRUE(macfile::ReadMacroFile(bytes, names, texts) && texts[0].size() == n) << n;
    }
    const QByteArray many = macfile::WriteMacroFile({}, Strings(0xFFFF, ""));
    EXPECT_EQ(many.mid(2, 6), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(macfile::WriteMacroFile(Strings(0xFFFE, ""), {}).left(2), Bytes({0xFE, 0xFF}));
    Strings names, texts;
    EXPECT_TRUE(macfile::ReadMacroFile(many, names, texts) && names.size() == 0xFFFFu)
        << "the shorter array is padded";
    EXPECT_FALSE(macfile::ReadMacroFile(Bytes({0x01, 0x00, 0xFF, 0xFE, 0xFF, 0x00, 0x00}), names, texts))
        << "the wide-character marker is not a length";
}

class Macros : public CoreTest {
protected:
    Cmacdoc& set = macroDoc();
};

TEST_F(Macros, TheFileRoundTripsAndDamageIsRefused) {
    const QByteArray sample = macfile::WriteMacroFile({"Home", std::string(32, 'N'), ""},
                                                      {"HOME\r\nCALIBRATE", std::string(300, '\xE9'), ""});
    CheckFileFormat(dir.path().toStdString(), ui,
                    {sample, [this](const std::string& p) { return set.OpenFile(p); },
                     [this](const std::string& p) {
                         ui.fileNames = {p};
                         return set.SaveFileDocumentAs();
                     },
                     // The set keeps what the load left; the file does not become the set's.
                     [this] { return set.GetPathName(); }});
}

TEST_F(Macros, AMacroSendsEachLineAndStopsAtTheFirstRefusedOne) {
    set.Append("Two", "HOME\r\nCALIBRATE");
    set.Append("Ends", "HOME\r\n");
    set.Append("Empty", "");
    set.Append("Bad", "HOME\r\nFOO\r\nCALIBRATE\r\n");
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(set.RunMacro(i));
    // The CR of the text is dropped; its LF and the line end after the text each send CR.
    EXPECT_EQ(controller.written, "HOME\rCALIBRATE\rHOME\r\r\r");
    EXPECT_FALSE(set.RunMacro(3));
    EXPECT_EQ(controller.Lines().back(), "FOO");
    EXPECT_EQ(ui.messages, Strings{"OK expected"});
    EXPECT_TRUE(protocol().ControllerStream.good() && set.RunMacro(0));
    EXPECT_FALSE(set.RunMacro(4) || !ui.events.empty());
}

} // namespace
