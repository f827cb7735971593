#include "core/app/FileFilter.h"

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const std::string::size_type end = text.find(separator, start);
        if (end == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string::size_type LastSlash(const std::string& name) {
    return name.find_last_of('/');
}

} // namespace

std::vector<DialogFilter> DialogFiltersFromFilter(const std::string& filter) {
    const std::vector<std::string> parts = Split(filter, '|');
    std::vector<DialogFilter> result;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        const std::string& name = parts[i];
        if (name.empty())
            break; // the "||" that ends the list
        DialogFilter entry;
        std::string patterns;
        for (std::string pattern : Split(parts[i + 1], ';')) {
            if (pattern == "*.")
                entry.withoutExtension = true;
            if (pattern == "*." || pattern == "*.*")
                pattern = "*";
            patterns += (patterns.empty() ? "" : " ") + pattern;
        }
        // The description shows the patterns the dialog filters by, in place of any it had.
        std::string label = name.substr(0, name.find('('));
        while (!label.empty() && label.back() == ' ')
            label.pop_back();
        entry.nameFilter = label + " (" + patterns + ")";
        result.push_back(entry);
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
