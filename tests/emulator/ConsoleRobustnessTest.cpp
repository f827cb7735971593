#include "ConsoleTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

// Random lines of real words, names and numbers, and random bytes: the console keeps answering every
// line with a prompt and comes back to its normal conventions afterwards.
TEST(ConsoleRobustness, RandomLinesNeverStopTheConsole) {
    ConsoleModel console;
    for (const char* line :
         {"NEW", "CARTESIAN", "ROUTE R", "6 RESERVE", "JOINT", "PLACE P", "ROUTE Q", "2 RESERVE"})
        RunLine(console, line);
    // Everything but the words that hand the line to a mode or redefine words (a redefined HOME or
    // IOFLAG is the console working as it should, but would hide what this test looks for).
    const std::set<std::string> excluded{"(TEACH)", "JOG",      "TRANSMIT", "RECEIVE", "|",    ":",
                                         "CODE",    "VARIABLE", "CONSTANT", "CREATE",  "USER", "USARRAY"};
    std::vector<std::string> vocabulary;
    for (const Word& word : console.Dictionary().Words())
        if (!excluded.count(word.name))
            vocabulary.push_back(word.name);
    for (const char* number : {"0", "1", "2", "3", "-1", "16", "64", "65535", "300", "-32768"})
        vocabulary.push_back(number);
    std::mt19937 random(20260101);
    for (int i = 0; i < 20000; ++i) {
        std::string line;
        int words = int(random() % 7);
        for (int w = 0; w < words; ++w)
            line += vocabulary[random() % vocabulary.size()] + " ";
        std::string reply = RunLine(console, line);
        ASSERT_FALSE(reply.empty()) << line;
        ASSERT_EQ(reply.back(), '>') << "line " << i << ": " << line << " -> " << reply;
    }
    std::string bytes;
    for (int i = 0; i < 100000; ++i)
        bytes.push_back(char(random() & 0xFF));
    console.Feed(bytes);
    // ESC ends a definition the random bytes may have opened; STARTOVER drops redefined words.
    console.Feed("\x1b\x03\x1b\rSTARTOVER\rIOFLAG C0SET\r");
    console.TakeOutput();
    EXPECT_EQ(RunLine(console, "HOME"), "HOME OK\r\n>");
    EXPECT_LE(console.RunList().End(), 65534) << "the list stays within its bank";
}
