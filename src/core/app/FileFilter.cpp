#include "core/app/FileFilter.h"

namespace {

std::vector<std::string> SplitOnBar(const std::string& text) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const std::string::size_type bar = text.find('|', start);
        if (bar == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
}

std::string::size_type LastSlash(const std::string& name) {
    return name.find_last_of('/');
}

} // namespace

std::vector<std::string> NameFiltersFromFilter(const std::string& filter) {
    const std::vector<std::string> parts = SplitOnBar(filter);
    std::vector<std::string> result;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        const std::string& name = parts[i];
        if (name.empty())
            break; // the "||" that ends the list
        std::string patterns = parts[i + 1];
        for (char& c : patterns)
            if (c == ';')
                c = ' ';
        if (name.find('(') != std::string::npos)
            result.push_back(name);
        else
            result.push_back(name + " (" + patterns + ")");
    }
    return result;
}

std::string StartFolderOf(const std::string& fileName) {
    const std::string::size_type slash = LastSlash(fileName);
    if (slash == std::string::npos)
        return std::string();
    return slash == 0 ? std::string("/") : fileName.substr(0, slash);
}

std::string StartFileOf(const std::string& fileName) {
    const std::string::size_type slash = LastSlash(fileName);
    const std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    return base.find_first_of("*?") == std::string::npos ? base : std::string();
}
