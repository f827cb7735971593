#include "WordListFile.h"
#include "ConsoleTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>

namespace {
// Reads records the way the program's word check does: skip blanks, length digit at offset 5, name at
// offset 7, next record 19 characters on.
std::map<std::string, int> ParseWordList(const std::string& text) {
    std::map<std::string, int> words;
    size_t at = 0;
    for (;;) {
        while (at < text.size() && std::string(" \r\n\t").find(text[at]) != std::string::npos)
            ++at;
        if (at >= text.size())
            break;
        int length = text[at + 5] - 48;
        if (length > 9)
            length -= 7;
        words[text.substr(at + 7, size_t(std::min(length, 5)))] = length;
        at += 19;
    }
    return words;
}
} // namespace

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

TEST(WordListFile, WrittenListReadsBackWithEveryWordOfTheDictionary) {
    ConsoleModel console;
    RunLine(console, "VARIABLE MYVAR");
    QTemporaryDir dir;
    std::string path = QDir(dir.path()).filePath("KXWords.txt").toStdString();
    std::string error;
    ASSERT_TRUE(WordListFile::Write(path, console.Dictionary(), error)) << error;
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    auto words = ParseWordList(file.readAll().toStdString());
    EXPECT_EQ(words["HOME"], 4);
    EXPECT_EQ(words["CREEP"], 12);
    EXPECT_EQ(words["(TEAC"], 7);
    EXPECT_EQ(words["MYVAR"], 5) << "words defined over the console are listed too";
}
