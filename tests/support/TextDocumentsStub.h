#pragma once

#include "core/base/TextDocuments.h"
#include "support/TestFiles.h"

#include <map>
#include <string>
#include <vector>

// The text editor's documents kept in memory, by path: a document's text and whether it has unsaved
// edits. Saving writes the text to the file; every request is recorded in `calls`.
class TextDocumentsStub : public TextDocuments {
public:
    struct Doc {
        std::string text;
        bool modified = false;
    };

    bool IsOpen(const std::string& path) const override { return docs.count(path) != 0; }
    bool IsModified(const std::string& path) const override { return IsOpen(path) && docs.at(path).modified; }
    bool SaveAs(const std::string& path, const std::string& newPath) override {
        calls.push_back("save " + path + " as " + newPath);
        const Doc doc = docs[path];
        if (saveFails || !WriteTestFile(newPath, QByteArray::fromStdString(doc.text)))
            return false;
        docs.erase(path);
        docs[newPath] = {doc.text, false};
        return true;
    }
    void Close(const std::string& path) override {
        calls.push_back("close " + path);
        docs.erase(path);
    }
    bool OpenOrActivate(const std::string& path) override {
        calls.push_back("show " + path);
        if (!docs.count(path) && TestFileExists(path))
            docs[path] = Doc{ReadTestFile(path).toStdString(), false};
        return docs.count(path) != 0;
    }
    bool CreateEmpty(const std::string& path) override {
        calls.push_back("create " + path);
        docs[path] = Doc{};
        return TextDocuments::CreateEmpty(path);
    }
    void ShowLine(const std::string& path, int line) override {
        calls.push_back("line " + std::to_string(line) + " of " + path);
    }

    std::map<std::string, Doc> docs;
    std::vector<std::string> calls;
    bool saveFails = false;
};
