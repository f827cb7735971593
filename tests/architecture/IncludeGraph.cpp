#include "IncludeGraph.h"

#include <algorithm>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The include on a line such as `#include "core/link/CommLink.h"` or `#  include <QString>`.
bool ParseInclude(const std::string& line, Include& include) {
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '#')
        return false;
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || line.compare(at, 7, "include") != 0)
        return false;
    at = line.find_first_not_of(" \t", at + 7);
    if (at == std::string::npos || (line[at] != '"' && line[at] != '<'))
        return false;
    const char close = line[at] == '"' ? '"' : '>';
    const size_t end = line.find(close, at + 1);
    if (end == std::string::npos)
        return false;
    include.path = line.substr(at + 1, end - at - 1);
    include.angled = close == '>';
    return true;
}

bool IsSource(const fs::path& path) {
    return path.extension() == ".h" || path.extension() == ".cpp";
}

enum class Mark { None, OnPath, Done };

// Depth-first search from `node`; on meeting a node still on the path, `path` ends with the circle.
bool Visit(const Graph& graph, const std::string& node, std::map<std::string, Mark>& marks,
           std::vector<std::string>& path) {
    marks[node] = Mark::OnPath;
    path.push_back(node);
    const auto edges = graph.find(node);
    if (edges != graph.end()) {
        for (const std::string& next : edges->second) {
            const Mark mark = marks[next];
            if (mark == Mark::OnPath) {
                path.push_back(next);
                return true;
            }
            if (mark == Mark::None && Visit(graph, next, marks, path))
                return true;
        }
    }
    path.pop_back();
    marks[node] = Mark::Done;
    return false;
}

} // namespace

std::vector<SourceFile> ScanSources(const fs::path& root, const std::string& folder) {
    std::vector<SourceFile> files;
    const fs::path start = root / folder;
    if (!fs::is_directory(start))
        return files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(start)) {
        if (!entry.is_regular_file() || !IsSource(entry.path()))
            continue;
        SourceFile file;
        file.path = fs::relative(entry.path(), root).generic_string();
        std::ifstream in(entry.path());
        std::string line;
        Include include;
        while (std::getline(in, line))
            if (ParseInclude(line, include))
                file.includes.push_back(include);
        files.push_back(std::move(file));
    }
    std::sort(files.begin(), files.end(),
              [](const SourceFile& a, const SourceFile& b) { return a.path < b.path; });
    return files;
}

std::vector<std::string> FindCircle(const Graph& graph) {
    std::map<std::string, Mark> marks;
    for (const auto& [node, edges] : graph) {
        if (marks[node] != Mark::None)
            continue;
        std::vector<std::string> path;
        if (Visit(graph, node, marks, path)) {
            // The path leads from `node` into the circle; keep the circle alone.
            const auto first = std::find(path.begin(), path.end(), path.back());
            return std::vector<std::string>(first, path.end());
        }
    }
    return {};
}

std::string Describe(const std::vector<std::string>& circle) {
    std::string text;
    for (const std::string& node : circle)
        text += (text.empty() ? "" : " -> ") + node;
    return text;
}
