#include "WordListFile.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <cstdio>

std::string WordListFile::Record(const Word& word) {
    if (word.name.empty() || word.name.size() > 15)
        return {};
    char head[8];
    std::snprintf(head, sizeof head, "%04X %X ", unsigned(word.address), unsigned(word.name.size()));
    std::string name = word.name.substr(0, kNameWidth);
    name.resize(kNameWidth, ' ');
    return std::string(head) + name + "\r\n";
}

std::string WordListFile::Text(const WordDictionary& dictionary) {
    std::string text;
    for (const Word& word : dictionary.Words())
        text += Record(word);
    return text;
}

bool WordListFile::Write(const std::string& path, const WordDictionary& dictionary, std::string& error) {
    QSaveFile file(QString::fromStdString(path));
    std::string text = Text(dictionary);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}
