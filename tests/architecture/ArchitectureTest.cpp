// The core stays a library without windows whose parts depend on each other one way: no file under
// src/core includes src/gui or a Qt header outside QtCore, QtNetwork and QtSerialPort, and neither the
// folders of src/core nor its files (a header with its source) include each other in a circle.
#include "IncludeGraph.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::vector<SourceFile>& CoreFiles() {
    static const std::vector<SourceFile> files = ScanSources(MARLIX_SOURCE_DIR, "core");
    return files;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, separator))
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

// A Qt header is allowed when it belongs to one of the modules the core links.
bool IsAllowedQtHeader(const std::string& header) {
    static const std::vector<std::string> dirs = Split(MARLIX_CORE_QT_DIRS, '|');
    const size_t slash = header.find('/');
    if (slash != std::string::npos) {
        const std::string module = header.substr(0, slash);
        return module == "QtCore" || module == "QtNetwork" || module == "QtSerialPort";
    }
    for (const std::string& dir : dirs)
        if (fs::exists(fs::path(dir) / header))
            return true;
    return false;
}

// <QString>, <QtGlobal>, <QtCore/QString>, <QtWidgets>.
bool IsQtHeader(const std::string& header) {
    return header.size() > 1 && header[0] == 'Q' &&
           (std::isupper(static_cast<unsigned char>(header[1])) || header[1] == 't');
}

std::string WithoutExtension(const std::string& path) {
    return path.substr(0, path.rfind('.'));
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.rfind('/'));
}

// Folder -> folders its files include ("core/link" -> "core/protocol").
Graph FolderGraph() {
    Graph graph;
    for (const SourceFile& file : CoreFiles()) {
        graph[FolderOf(file.path)];
        for (const Include& include : file.includes)
            if (!include.angled && include.path.rfind("core/", 0) == 0 &&
                FolderOf(include.path) != FolderOf(file.path))
                graph[FolderOf(file.path)].insert(FolderOf(include.path));
    }
    return graph;
}

// File (a header with its source) -> files it includes ("core/link/CommLink" -> "core/link/Transport").
Graph FileGraph() {
    Graph graph;
    for (const SourceFile& file : CoreFiles()) {
        const std::string unit = WithoutExtension(file.path);
        graph[unit];
        for (const Include& include : file.includes)
            if (!include.angled && include.path.rfind("core/", 0) == 0 &&
                WithoutExtension(include.path) != unit)
                graph[unit].insert(WithoutExtension(include.path));
    }
    return graph;
}

TEST(Architecture, TheCircleFinderFindsACircleAndOnlyACircle) {
    const Graph acyclic = {{"a", {"b", "c"}}, {"b", {"c"}}, {"c", {}}};
    EXPECT_TRUE(FindCircle(acyclic).empty());
    const Graph cyclic = {{"a", {"b"}}, {"b", {"c"}}, {"c", {"d", "b"}}, {"d", {}}};
    EXPECT_EQ(Describe(FindCircle(cyclic)), "b -> c -> b");
}

TEST(Architecture, TheCoreIncludesNoWindowsAndNoQtGui) {
    ASSERT_GT(CoreFiles().size(), 20u) << "no sources found under " << MARLIX_SOURCE_DIR << "/core";
    std::string offences;
    for (const SourceFile& file : CoreFiles()) {
        for (const Include& include : file.includes) {
            const bool window = include.path.rfind("gui/", 0) == 0;
            const bool qtGui = include.angled && IsQtHeader(include.path) && !IsAllowedQtHeader(include.path);
            if (window || qtGui)
                offences += "\n  " + file.path + " includes " + include.path;
        }
    }
    EXPECT_TRUE(offences.empty()) << "the core must not reach the windows or Qt Gui/Widgets:" << offences;
}

TEST(Architecture, TheCoreFoldersIncludeEachOtherOneWay) {
    const std::vector<std::string> circle = FindCircle(FolderGraph());
    EXPECT_TRUE(circle.empty()) << "folders in a circle: " << Describe(circle);
}

TEST(Architecture, TheCoreFilesIncludeEachOtherOneWay) {
    const std::vector<std::string> circle = FindCircle(FileGraph());
    EXPECT_TRUE(circle.empty()) << "files in a circle: " << Describe(circle);
}

} // namespace
