// The core stays a library without windows whose parts depend on each other one way: no file under
// src/core includes src/gui or a Qt header outside QtCore, QtNetwork and QtSerialPort, and neither the
// folders of src/core nor its files (a header with its source) include each other in a circle. And
// every Qt Test function under tests/ stands where the framework runs it.
#include <gtest/gtest.h>

#include <algorithm>
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

// One #include line of a file under src/core.
struct Include {
    std::string file;   // relative to src, with "/" separators: "core/link/CommLink.cpp"
    std::string header; // as written between the quotes or angle brackets
    bool angled;
};

std::vector<Include> CoreIncludes() {
    static const std::regex include(R"re(^\s*#\s*include\s*(<([^>]*)>|"([^"]*)"))re");
    std::vector<Include> found;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(MARLIX_SOURCE_DIR) / "core")) {
        if (entry.path().extension() != ".h" && entry.path().extension() != ".cpp")
            continue;
        const std::string file = fs::relative(entry.path(), MARLIX_SOURCE_DIR).generic_string();
        std::ifstream in(entry.path());
        std::smatch match;
        for (std::string line; std::getline(in, line);)
            if (std::regex_search(line, match, include))
                found.push_back({file, match[2].matched ? match[2] : match[3], match[2].matched});
    }
    return found;
}

// A Qt header (<QString>, <QtCore/QString>, <QtWidgets>) of a module the core does not link.
bool IsForbiddenQtHeader(const std::string& header) {
    if (!std::regex_match(header, std::regex("Q[A-Zt].*")))
        return false;
    const size_t slash = header.find('/');
    if (slash != std::string::npos)
        return !std::regex_match(header.substr(0, slash), std::regex("QtCore|QtNetwork|QtSerialPort"));
    std::istringstream dirs(MARLIX_CORE_QT_DIRS); // the allowed modules' folders, separated by '|'
    for (std::string dir; std::getline(dirs, dir, '|');)
        if (fs::exists(fs::path(dir) / header))
            return false;
    return true;
}

// Node -> the nodes it includes.
using Graph = std::map<std::string, std::set<std::string>>;

// The nodes on a circle (or between two), each followed by a blank: what is left once every node that
// includes nothing left, or that nothing left includes, has been taken out.
std::string InCircles(Graph graph) {
    for (size_t before = 0; before != graph.size();) {
        before = graph.size();
        std::set<std::string> included;
        for (const auto& [node, edges] : graph)
            included.insert(edges.begin(), edges.end());
        for (auto at = graph.begin(); at != graph.end();)
            at = included.count(at->first) == 0 ||
                         std::none_of(at->second.begin(), at->second.end(),
                                      [&](const std::string& next) { return graph.count(next) != 0; })
                     ? graph.erase(at)
                     : std::next(at);
    }
    std::string left;
    for (const auto& [node, edges] : graph)
        left += node + " ";
    return left;
}

TEST(Architecture, TheCircleFinderFindsACircleAndOnlyACircle) {
    EXPECT_EQ(InCircles({{"a", {"b", "c"}}, {"b", {"c"}}, {"c", {}}}), "");
    EXPECT_EQ(InCircles({{"a", {"b"}}, {"b", {"c"}}, {"c", {"d", "b"}}, {"d", {}}, {"e", {"a"}}}), "b c ");
}

TEST(Architecture, TheCoreIncludesNoWindowsAndNoQtGui) {
    ASSERT_GT(CoreIncludes().size(), 100u) << "no sources found under " << MARLIX_SOURCE_DIR << "/core";
    std::string offences;
    for (const Include& include : CoreIncludes())
        if (include.header.rfind("gui/", 0) == 0 || (include.angled && IsForbiddenQtHeader(include.header)))
            offences += "\n  " + include.file + " includes " + include.header;
    EXPECT_TRUE(offences.empty()) << "the core must not reach the windows or Qt Gui/Widgets:" << offences;
}

// What the core's files include of the core, between folders (a path up to its last '/': "core/link"
// -> "core/protocol") or files, a header with its source (up to its last '.': "core/link/CommLink" ->
// "core/link/Transport").
TEST(Architecture, TheCoreFoldersAndFilesIncludeEachOtherOneWay) {
    for (const char end : {'/', '.'}) {
        const auto node = [end](const std::string& path) { return path.substr(0, path.rfind(end)); };
        Graph graph;
        for (const Include& include : CoreIncludes())
            if (!include.angled && include.header.rfind("core/", 0) == 0 &&
                node(include.header) != node(include.file))
                graph[node(include.file)].insert(node(include.header));
        EXPECT_EQ(InCircles(graph), "") << (end == '/' ? "folders" : "files") << " in a circle";
    }
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
