#include "MirrorFuzz.h"

#include <gtest/gtest.h>

// A short mirror run: a few hundred random editing operations against the emulator, its RUN-LIST
// compared with the project's image after each (mirror-fuzz runs as many as asked).
TEST(MirrorFidelity, RandomEditsKeepTheControllerEqualToTheImage) {
    MirrorFuzz fuzz(20240611);
    std::string error;
    ASSERT_TRUE(fuzz.Start(error)) << error;
    std::string failure;
    EXPECT_TRUE(fuzz.Run(300, failure)) << failure;
    EXPECT_EQ(fuzz.operationsRun(), 300);
}
