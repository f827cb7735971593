#pragma once

#include "support/CoreTest.h"

#include <functional>
#include <string>

// A file format as its document reads and writes it.
struct FileFormat {
    QByteArray sample;                              // a sound file
    std::function<bool(const std::string&)> open;   // opens a file into the document
    std::function<bool(const std::string&)> saveAs; // saves the document under a new name
    std::function<std::string()> kept;              // what a refused file must leave as it was
    std::function<void()> prepare = [] {};          // before each damaged file is opened
    bool everyTruncationRefused = true;
};

// The one check of every document's file format: the sample opens and saves again byte for byte.
// Every truncation of it and every flipped byte is either refused (one message, and what the
// document keeps is as it was) or read soundly (no message, and saving, reopening and saving again
// gives the same bytes).
inline void CheckFileFormat(const std::string& folder, ScriptedUi& ui, const FileFormat& format) {
    const auto path = [&](const char* name) { return folder + "/" + name; };
    ASSERT_TRUE(WriteTestFile(path("sample"), format.sample));
    ASSERT_TRUE(format.open(path("sample")));
    ASSERT_TRUE(format.saveAs(path("copy")));
    EXPECT_EQ(ReadTestFile(path("copy")), format.sample);
    ASSERT_TRUE(ui.messages.empty()) << ui.messages.front();

    for (int n = 0; n < 2 * format.sample.size(); ++n) {
        const bool cut = n < format.sample.size();
        QByteArray damaged = cut ? format.sample.left(n) : format.sample;
        if (!cut)
            damaged[n - format.sample.size()] ^= static_cast<char>(1 << (n % 8));
        SCOPED_TRACE((cut ? "cut to " : "byte flipped at ") + std::to_string(n % format.sample.size()));
        ASSERT_TRUE(WriteTestFile(path("damaged"), damaged));
        format.prepare();
        const std::string before = format.kept();
        ui.messages.clear();
        format.open(path("damaged"));
        if (!ui.messages.empty() || (cut && format.everyTruncationRefused)) {
            EXPECT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(format.kept(), before);
            continue;
        }
        ASSERT_TRUE(format.saveAs(path("resaved")));
        const QByteArray resaved = ReadTestFile(path("resaved"));
        ASSERT_TRUE(format.open(path("resaved")));
        ASSERT_TRUE(format.saveAs(path("resaved")));
        EXPECT_EQ(ReadTestFile(path("resaved")), resaved);
        EXPECT_TRUE(ui.messages.empty());
    }
}
