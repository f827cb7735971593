#pragma once

#include "core/base/TextDocuments.h"
#include "core/link/CommLink.h"
#include "core/project/CPosDat.h"
#include "core/project/ProjectModel.h"
#include "core/project/ProjectService.h"
#include "core/protocol/Protocol.h"
#include "support/FakeController.h"
#include "support/ProtocolFakeLink.h"
#include "support/ScriptedUi.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

// A screen that answers the file dialogs.
struct ProjectUi : ScriptedUi {
    std::string openPath;
    std::string savePath;

    std::string AskOpenFileName(const std::string&, const std::string&, const std::string&,
                                const std::string&) override {
        return openPath;
    }
    std::string AskSaveFileName(const std::string&, const std::string&, const std::string&,
                                const std::string&) override {
        return savePath;
    }
};

// Text documents kept in memory: path -> (text, modified).
struct FakeTextDocuments : TextDocuments {
    struct Doc {
        std::string text;
        bool modified = false;
    };
    std::map<std::string, Doc> docs;
    std::vector<std::string> calls;

    bool IsOpen(const std::string& path) const override { return docs.count(path) != 0; }
    bool IsModified(const std::string& path) const override {
        const auto it = docs.find(path);
        return it != docs.end() && it->second.modified;
    }
    bool SaveAs(const std::string& path, const std::string& newPath) override;
    void Close(const std::string& path) override {
        calls.push_back("close " + path);
        docs.erase(path);
    }
    bool OpenOrActivate(const std::string& path) override;
    bool CreateEmpty(const std::string& path) override {
        calls.push_back("create " + path);
        docs[path] = Doc{};
        return TextDocuments::CreateEmpty(path);
    }
};

QByteArray ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);

// A project test: a fresh project document on a fake controller, files in a temporary folder. The
// project service's Opened and Closed announcements are kept in `announced` ("opened", "closed").
class ProjectTest : public ::testing::Test {
protected:
    ProjectTest();
    ~ProjectTest() override;

    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
    QString QPath(const char* name) const { return dir.filePath(name); }

    // A place named `name` (Cartesian, with a value in its position) and a General route of `lines`
    // slots, made the way the editing operations make them.
    int AddPlace(const std::string& name);
    int AddRoute(const std::string& name, int lines);
    // Writes the files of a project without entries: `base`.run (18 bytes) and `base`.ed1.
    void WriteEmptyProject(const char* base);
    // How the test controller answers a command line: the echo, " OK", CR LF and the prompt; between
    // the prompt check "|" and "IOFLAG C0SET" only the prompt.
    std::string Answer(const std::string& line);
    bool quiet = false;
    std::vector<std::string> announced; // outlives the core the announcements come from

    QTemporaryDir dir;
    ProjectUi ui;
    FakeController controller{ui};
    FakeLinkScope link{controller};
    FakeTextDocuments texts;
    ScreenScope screen{{&ui, nullptr, &texts}};
    CPosDat& doc = projectDocument();
    ProjectModel& model = projectModel();
};
