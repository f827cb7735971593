#pragma once

#include <functional>
#include <string>
#include <vector>

// The File menu's list of the four text files opened last, newest first, kept in the settings store
// under "Recent File List" as "File1" to "File4".
class RecentFiles {
public:
    static constexpr int kMaxEntries = 4;

    void Load();
    void Save() const;
    // Puts the path at the top; an entry for the same file moves rather than repeats.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    const std::vector<std::string>& paths() const { return m_paths; }

    // Opens entry i through the installed opener; an entry that can no longer be opened leaves the list.
    void Open(int i);
    // Installed by the text windows: opens or activates a text file, true when it is shown.
    std::function<bool(const std::string& path)> opener;

private:
    std::vector<std::string> m_paths;
};

RecentFiles& recentFiles();
