// The shell's plain formats and rules: the window placement text, the font description text and the
// demonstration profile, the recent-file list.
#include "core/app/CoreWiring.h"
#include "core/app/DemonstrationProfile.h"
#include "core/app/FontDescription.h"
#include "core/app/RecentFiles.h"
#include "core/app/WindowPlacement.h"
#include "core/base/ProfileStore.h"
#include "core/link/CommLink.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(WindowPlacementText, TenIntegersRoundTripAndAnythingElseIsIgnored) {
    const auto p = WindowPlacement::Parse("2,1,-1,-1,-1,-1,10,20,810,620");
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->showCmd, WindowPlacement::kShowNormal);
    EXPECT_EQ(p->width(), 800);
    EXPECT_EQ(p->height(), 600);
    EXPECT_EQ(p->Format(), "2,1,-1,-1,-1,-1,10,20,810,620");
    for (const char* text : {"", "2,1,-1,-1,-1,-1,10,20,810", "2,1,-1,-1,-1,-1,10,20,810,620,5",
                             "2,1,-1,-1,-1,-1,10,20,810,x", "2,1,-1,-1,-1,-1,10,20,810,", "a,b"})
        EXPECT_FALSE(WindowPlacement::Parse(text).has_value()) << text;
    EXPECT_TRUE(WindowPlacement::Parse(" 0, 3 ,-1,-1,-1,-1,0,0,100,100").has_value());
}

TEST(FontDescriptionText, ReadsBlanksAndFaceNamesWithSpacesAndRoundTrips) {
    FontDescription d;
    EXPECT_EQ(d.Format(), "-12 400 0 0 0 0 49 Courier New");
    ASSERT_TRUE(d.Parse("  -16   700 1 0  0 3 49   DejaVu Sans Mono"));
    EXPECT_EQ(d.height, -16);
    EXPECT_EQ(d.weight, 700);
    EXPECT_EQ(d.italic, 1);
    EXPECT_EQ(d.outPrecision, 3);
    EXPECT_EQ(d.face, "DejaVu Sans Mono");
    FontDescription again;
    ASSERT_TRUE(again.Parse(d.Format()));
    EXPECT_EQ(again.Format(), d.Format());
}

TEST(FontDescriptionText, DamagedTextKeepsTheDescriptionAndLongFacesAreCut) {
    FontDescription d;
    const std::string before = d.Format();
    EXPECT_FALSE(d.Parse("-16 700 x"));
    EXPECT_FALSE(d.Parse("-16 700 0 0 0 0 49"));
    EXPECT_EQ(d.Format(), before);

    d.face = std::string(40, 'F');
    FontDescription read;
    ASSERT_TRUE(read.Parse(d.Format()));
    EXPECT_EQ(read.face.size(), FontDescription::kMaxFace);
}

TEST(DemonstrationProfile, OnlyANewcomerSimulates) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    UseProfileFile(dir.filePath("profile.ini").toStdString());
    ResetCore();
    EXPECT_TRUE(UseDemonstrationProfile());
    WriteProfileString("Config", "filename", "/home/op/arm.cfg");
    EXPECT_FALSE(UseDemonstrationProfile());
    WriteProfileString("Config", "filename", "");
    WriteProfileString("Communication", "device", "/dev/ttyUSB0");
    EXPECT_FALSE(UseDemonstrationProfile());
    WriteProfileString("Communication", "device", "");
    WriteProfileInt("Communication", "port", 3);
    EXPECT_FALSE(ApplyDemonstrationProfile());
    EXPECT_FALSE(commLink().Simulate);
    UseProfileFile("");
}

TEST(RecentFileList, NewestFirstFourAtMostKeptInTheStoreAndUnopenableEntriesDropped) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    UseProfileFile(dir.filePath("profile.ini").toStdString());
    RecentFiles list;
    for (const char* path : {"/a.txt", "/b.txt", "/c.txt", "/d.txt", "/e.txt", "/c.txt"})
        list.Add(path);
    EXPECT_EQ(list.paths(), (std::vector<std::string>{"/c.txt", "/e.txt", "/d.txt", "/b.txt"}));
    list.Save();

    RecentFiles again;
    again.Load();
    EXPECT_EQ(again.paths(), list.paths());
    std::vector<std::string> opened;
    again.opener = [&](const std::string& path) {
        opened.push_back(path);
        return path != "/d.txt";
    };
    again.Open(1); // opens and moves to the top
    again.Open(2); // "/d.txt" cannot be opened any more: it leaves the list
    again.Open(7); // beyond the list: nothing happens
    EXPECT_EQ(opened, (std::vector<std::string>{"/e.txt", "/d.txt"}));
    EXPECT_EQ(again.paths(), (std::vector<std::string>{"/e.txt", "/c.txt", "/b.txt"}));
    again.Save();
    EXPECT_EQ(GetProfileString("Recent File List", "File4"), "");
    UseProfileFile("");
}
