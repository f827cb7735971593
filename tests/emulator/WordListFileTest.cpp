#include "WordListFile.h"
#include "ConsoleTestSupport.h"

#include <gtest/gtest.h>

TEST(WordListFile, RecordsHaveTheFixedForm) {
    Word word;
    word.name = "CREEP-FACTOR";
    word.address = 0x1234;
    std::string record = WordListFile::Record(word);
    ASSERT_EQ(record.size(), WordListFile::kRecordSize);
    EXPECT_EQ(record[5], 'C') << "twelve characters";
    EXPECT_EQ(record.substr(7, 10), "CREEP-FACT");
    EXPECT_EQ(record.substr(17), "\r\n");
    word.name = "SIXTEEN-LETTERS!";
    EXPECT_EQ(WordListFile::Record(word), "") << "a length that one digit cannot hold is left out";
}
