// The shell's plain formats and rules: the window placement and font description texts, the file
// dialogs' filters, the demonstration profile and the recent-file list.
#include "core/app/DemonstrationProfile.h"
#include "core/app/FileFilter.h"
#include "core/app/FontDescription.h"
#include "core/app/RecentFiles.h"
#include "core/app/WindowPlacement.h"
#include "core/base/ProfileStore.h"
#include "core/link/CommLink.h"
#include "support/CoreTest.h"

#include <tuple>

namespace {

using Strings = std::vector<std::string>;

class ShellState : public CoreTest {};

// A saved font description is what the next window starts from; with none the default.
TEST_F(ShellState, APlacementIsTenIntegersAndAFontDescriptionRoundTripsThroughTheProfile) {
    const auto p = WindowPlacement::Parse("2,1,-1,-1,-1,-1,10,20,810,620");
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(std::make_tuple(p->showCmd, p->width(), p->height(), p->Format()),
              std::make_tuple(WindowPlacement::kShowNormal, 800, 600, "2,1,-1,-1,-1,-1,10,20,810,620"));
    EXPECT_TRUE(WindowPlacement::Parse(" 0, 3 ,-1,-1,-1,-1,0,0,100,100").has_value());
    for (const char* text : {"", "2,1,-1,-1,-1,-1,10,20,810", "2,1,-1,-1,-1,-1,10,20,810,620,5",
                             "2,1,-1,-1,-1,-1,10,20,810,x", "2,1,-1,-1,-1,-1,10,20,810,", "a,b"})
        EXPECT_FALSE(WindowPlacement::Parse(text).has_value()) << text;

    FontDescription d;
    EXPECT_EQ(d.Format(), "-12 400 0 0 0 0 49 Courier New");
    EXPECT_EQ(FontDescription::Load("Edit").Format(), d.Format());
    for (const char* bad : {"-16 700 x", "-16 700 0 0 0 0 49"})
        EXPECT_FALSE(d.Parse(bad)) << bad;
    EXPECT_EQ(d.Format(), "-12 400 0 0 0 0 49 Courier New") << "damaged text keeps the description";
    ASSERT_TRUE(d.Parse("  -16   700 1 0  0 3 49   DejaVu Sans Mono"));
    EXPECT_EQ(d.Format(), "-16 700 1 0 0 3 49 DejaVu Sans Mono");
    d.Save("Edit");
    EXPECT_EQ(FontDescription::Load("Edit").Format(), d.Format());
}

TEST(ShellFormats, DialogFiltersAndStartPaths) {
    const auto entries = [](const std::string& filter) {
        Strings list;
        for (const DialogFilter& entry : DialogFiltersFromFilter(filter))
            list.push_back(entry.nameFilter + (entry.withoutExtension ? " without extension" : ""));
        return list;
    };
    EXPECT_EQ(entries("Settings Files (*.cfg)|*.cfg||"), Strings{"Settings Files (*.cfg)"});
    EXPECT_EQ(entries("Text|*.txt;*.log|All Files (*.*)|*.*|Source (*.)|*.||"),
              (Strings{"Text (*.txt *.log)", "All Files (*)", "Source (*) without extension"}));
    EXPECT_EQ(entries("Odd|*.odd|Dangling"), Strings{"Odd (*.odd)"});
    EXPECT_TRUE(entries("").empty());
    EXPECT_EQ(StartFolderOf("*.cfg") + "|" + StartFileOf("*.cfg") + "|" + StartFileOf("/home/op/arm.cfg") +
                  "|" + StartFolderOf("/arm.cfg") + "|" + StartFileOf("/data/*.run"),
              "||arm.cfg|/|");
}

TEST_F(ShellState, OnlyANewcomerSimulates) {
    EXPECT_TRUE(UseDemonstrationProfile());
    WriteProfileString("Config", "filename", "/home/op/arm.cfg");
    EXPECT_FALSE(UseDemonstrationProfile());
    WriteProfileString("Config", "filename", "");
    WriteProfileString("Communication", "device", "/dev/ttyUSB0");
    EXPECT_FALSE(UseDemonstrationProfile());
    WriteProfileString("Communication", "device", "");
    WriteProfileInt("Communication", "port", 0);
    EXPECT_FALSE(ApplyDemonstrationProfile() || commLink().Simulate);
}

TEST_F(ShellState, RecentFilesAreNewestFirstFourAtMostAndUnopenableOnesLeave) {
    RecentFiles list;
    for (const char* path : {"/a.txt", "/b.txt", "/c.txt", "/d.txt", "/e.txt", "/c.txt"})
        list.Add(path);
    EXPECT_EQ(list.paths(), (Strings{"/c.txt", "/e.txt", "/d.txt", "/b.txt"}));
    list.Save();
    RecentFiles again;
    again.Load();
    EXPECT_EQ(again.paths(), list.paths());
    Strings opened;
    again.opener = [&](const std::string& path) {
        opened.push_back(path);
        return path != "/d.txt";
    };
    again.Open(1); // opens and moves to the top
    again.Open(2); // "/d.txt" cannot be opened any more: it leaves the list
    again.Open(7); // beyond the list: nothing happens
    EXPECT_EQ(opened, (Strings{"/e.txt", "/d.txt"}));
    EXPECT_EQ(again.paths(), (Strings{"/e.txt", "/c.txt", "/b.txt"}));
    again.Save();
    EXPECT_EQ(GetProfileString("Recent File List", "File4"), "");
}

} // namespace
