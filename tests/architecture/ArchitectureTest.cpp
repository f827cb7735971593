// The core stays a library without windows whose parts depend on each other one way: no file under
// src/core includes src/gui or a Qt header outside QtCore, QtNetwork and QtSerialPort, and neither the
// folders of src/core nor its files (a header with its source) include each other in a circle. And
// every Qt Test function under tests/ stands where the framework runs it.
#include "IncludeGraph.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
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

// Qt Test runs the private slots of a test class: a test function declared under "private:" or
// "public:" compiles and never runs. In a class with Q_OBJECT, every "void lowerCase()" outside a
// slots section is such a function ("name (line)"); helpers are named in UpperCase.
std::vector<std::string> TestFunctionsThatNeverRun(std::istream& source) {
    static const std::regex access(R"(^\s*(public|protected|private)\s*(slots|Q_SLOTS)?\s*:)");
    static const std::regex testFunction(R"(^\s*void\s+([a-z]\w*)\s*\(\s*\)\s*(const\s*)?[{;])");
    std::vector<std::string> found;
    bool inSlots = false;
    std::string line;
    for (int number = 1; std::getline(source, line); ++number) {
        std::smatch match;
        if (std::regex_search(line, match, access))
            inSlots = match[2].matched;
        else if (line.rfind("class ", 0) == 0)
            inSlots = false;
        else if (!inSlots && std::regex_search(line, match, testFunction))
            found.push_back(match[1].str() + " (" + std::to_string(number) + ")");
    }
    return found;
}

TEST(Architecture, EveryQtTestFunctionIsASlotTheFrameworkRuns) {
    std::istringstream sample("class T : public QObject {\n    Q_OBJECT\nprivate slots:\n    void runs() {}\n"
                              "private:\n    void lost() {}\n    void Helper() {}\n};\n");
    EXPECT_EQ(TestFunctionsThatNeverRun(sample), std::vector<std::string>{"lost (6)"});
    std::string offences;
    int classes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(MARLIX_TESTS_DIR)) {
        if (entry.path().extension() != ".cpp" || !entry.is_regular_file())
            continue;
        std::ifstream file(entry.path());
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (text.find("Q_OBJECT") == std::string::npos)
            continue;
        ++classes;
        std::istringstream source(text);
        for (const std::string& function : TestFunctionsThatNeverRun(source))
            offences += "\n  " + entry.path().string() + ": " + function;
    }
    EXPECT_GT(classes, 0) << "no Qt Test classes found under " << MARLIX_TESTS_DIR;
    EXPECT_TRUE(offences.empty()) << "test functions the framework never runs:" << offences;
}

} // namespace
