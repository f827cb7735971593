#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

// The #include lines of a source tree, read from the files themselves, and the circles of the graph
// they make.

struct Include {
    std::string path; // as written between the quotes or angle brackets
    bool angled = false;
};

struct SourceFile {
    std::string path; // relative to the scanned root, with "/" separators: "core/link/CommLink.cpp"
    std::vector<Include> includes;
};

// Every .h and .cpp file under root/folder, in path order.
std::vector<SourceFile> ScanSources(const std::filesystem::path& root, const std::string& folder);

// Node -> the nodes it includes.
using Graph = std::map<std::string, std::set<std::string>>;

// One circle of the graph: its nodes in order with the first repeated at the end; empty when the
// graph has none.
std::vector<std::string> FindCircle(const Graph& graph);

// "a -> b -> a".
std::string Describe(const std::vector<std::string>& circle);
