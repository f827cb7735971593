#include "MirrorFuzz.h"

#include <gtest/gtest.h>

// A short mirror run: a few hundred random editing operations against the emulator, its RUN-LIST
// compared with the project's image after each (mirror-fuzz runs as many as asked).
TEST(MirrorFidelity, RandomEditsKeepTheControllerEqualToTheImage) {
    MirrorRun run;
    EXPECT_TRUE(RunMirror(20240611, 300, run)) << run.failure;
    EXPECT_EQ(run.operations, 300);
}
