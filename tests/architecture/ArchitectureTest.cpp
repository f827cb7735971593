// The core stays a library without windows whose parts depend on each other one way: no file under
// src/core includes src/gui or a Qt header outside QtCore, QtNetwork and QtSerialPort, and neither the
// folders of src/core nor its files (a header with its source) include each other in a circle. And
// every Qt Test function under tests/ stands where the framework runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Include {
    std::string path; // as written between the quotes or angle brackets
    bool angled = false;
};

struct SourceFile {
    std::string path; // relative to src, with "/" separators: "core/link/CommLink.cpp"
    std::vector<Include> includes;
};

// Every .h and .cpp file under src/core with the #include lines it holds.
const std::vector<SourceFile>& CoreFiles() {
    static const std::vector<SourceFile> files = [] {
        static const std::regex include(R"re(^\s*#\s*include\s*(<([^>]*)>|"([^"]*)"))re");
        std::vector<SourceFile> found;
        for (const auto& entry : fs::recursive_directory_iterator(fs::path(MARLIX_SOURCE_DIR) / "core")) {
            if (entry.path().extension() != ".h" && entry.path().extension() != ".cpp")
                continue;
            found.push_back({fs::relative(entry.path(), MARLIX_SOURCE_DIR).generic_string(), {}});
            std::ifstream in(entry.path());
            std::smatch match;
            for (std::string line; std::getline(in, line);)
                if (std::regex_search(line, match, include))
                    found.back().includes.push_back(
                        {match[2].matched ? match[2] : match[3], match[2].matched});
        }
        return found;
    }();
    return files;
}

// A Qt header is allowed when it belongs to one of the modules the core links.
bool IsAllowedQtHeader(const std::string& header) {
    const size_t slash = header.find('/');
    if (slash != std::string::npos)
        return std::regex_match(header.substr(0, slash), std::regex("QtCore|QtNetwork|QtSerialPort"));
    std::istringstream dirs(MARLIX_CORE_QT_DIRS); // the modules' folders, separated by '|'
    for (std::string dir; std::getline(dirs, dir, '|');)
        if (fs::exists(fs::path(dir) / header))
            return true;
    return false;
}

// <QString>, <QtGlobal>, <QtCore/QString>, <QtWidgets>.
bool IsQtHeader(const std::string& header) {
    return header.size() > 1 && header[0] == 'Q' &&
           (std::isupper(static_cast<unsigned char>(header[1])) || header[1] == 't');
}

// Node -> the nodes it includes.
using Graph = std::map<std::string, std::set<std::string>>;
using NodeOf = std::string (*)(const std::string& path);

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.rfind('/'));
}

std::string WithoutExtension(const std::string& path) {
    return path.substr(0, path.rfind('.'));
}

// What the core's files include of the core, between the nodes `node` makes of their paths: folders
// ("core/link" -> "core/protocol") or files, a header with its source ("core/link/CommLink" ->
// "core/link/Transport"). A node's includes of itself are left out.
Graph CoreGraph(NodeOf node) {
    Graph graph;
    for (const SourceFile& file : CoreFiles()) {
        std::set<std::string>& edges = graph[node(file.path)];
        for (const Include& include : file.includes)
            if (!include.angled && include.path.rfind("core/", 0) == 0 &&
                node(include.path) != node(file.path))
                edges.insert(node(include.path));
    }
    return graph;
}

enum class Mark { None, OnPath, Done };

// Depth-first search from `node`; on meeting a node still on the path, `path` ends with the circle.
bool Visit(const Graph& graph, const std::string& node, std::map<std::string, Mark>& marks,
           std::vector<std::string>& path) {
    marks[node] = Mark::OnPath;
    path.push_back(node);
    const auto edges = graph.find(node);
    for (const std::string& next : edges != graph.end() ? edges->second : std::set<std::string>()) {
        if (marks[next] == Mark::OnPath) {
            path.push_back(next);
            return true;
        }
        if (marks[next] == Mark::None && Visit(graph, next, marks, path))
            return true;
    }
    path.pop_back();
    marks[node] = Mark::Done;
    return false;
}

// One circle of the graph, its nodes in order with the first repeated at the end ("a -> b -> a");
// empty when the graph has none.
std::string FindCircle(const Graph& graph) {
    std::map<std::string, Mark> marks;
    for (const auto& [node, edges] : graph) {
        std::vector<std::string> path;
        if (marks[node] != Mark::None || !Visit(graph, node, marks, path))
            continue;
        // The path leads from `node` into the circle; describe the circle alone.
        std::string text;
        for (auto at = std::find(path.begin(), path.end(), path.back()); at != path.end(); ++at)
            text += (text.empty() ? "" : " -> ") + *at;
        return text;
    }
    return {};
}

TEST(Architecture, TheCircleFinderFindsACircleAndOnlyACircle) {
    EXPECT_EQ(FindCircle({{"a", {"b", "c"}}, {"b", {"c"}}, {"c", {}}}), "");
    EXPECT_EQ(FindCircle({{"a", {"b"}}, {"b", {"c"}}, {"c", {"d", "b"}}, {"d", {}}}), "b -> c -> b");
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

TEST(Architecture, TheCoreFoldersAndFilesIncludeEachOtherOneWay) {
    const std::pair<const char*, NodeOf> graphs[] = {{"folders", FolderOf}, {"files", WithoutExtension}};
    for (const auto& [nodes, node] : graphs)
        EXPECT_EQ(FindCircle(CoreGraph(node)), "") << nodes << " in a circle";
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
        std::stringstream source;
        source << std::ifstream(entry.path()).rdbuf();
        if (source.str().find("Q_OBJECT") == std::string::npos)
            continue;
        ++classes;
        for (const std::string& function : TestFunctionsThatNeverRun(source))
            offences += "\n  " + entry.path().string() + ": " + function;
    }
    EXPECT_GT(classes, 0) << "no Qt Test classes found under " << MARLIX_TESTS_DIR;
    EXPECT_TRUE(offences.empty()) << "test functions the framework never runs:" << offences;
}

} // namespace
