#include "core/app/RecentFiles.h"

#include "core/base/CoreState.h"
#include "core/base/ProfileStore.h"

#include <algorithm>

namespace {
const char* const kSection = "Recent File List";

std::string KeyOf(int i) {
    return "File" + std::to_string(i + 1);
}
} // namespace

void RecentFiles::Load() {
    m_paths.clear();
    for (int i = 0; i < kMaxEntries; ++i) {
        const std::string path = GetProfileString(kSection, KeyOf(i));
        if (!path.empty() && std::find(m_paths.begin(), m_paths.end(), path) == m_paths.end())
            m_paths.push_back(path);
    }
}

void RecentFiles::Save() const {
    for (int i = 0; i < kMaxEntries; ++i)
        WriteProfileString(kSection, KeyOf(i), i < static_cast<int>(m_paths.size()) ? m_paths[i] : "");
}

void RecentFiles::Add(const std::string& path) {
    if (path.empty())
        return;
    Remove(path);
    m_paths.insert(m_paths.begin(), path);
    if (static_cast<int>(m_paths.size()) > kMaxEntries)
        m_paths.resize(kMaxEntries);
}

void RecentFiles::Remove(const std::string& path) {
    m_paths.erase(std::remove(m_paths.begin(), m_paths.end(), path), m_paths.end());
}

void RecentFiles::Open(int i) {
    if (i < 0 || i >= static_cast<int>(m_paths.size()) || !opener)
        return;
    const std::string path = m_paths[i];
    if (opener(path))
        Add(path);
    else
        Remove(path);
}

RecentFiles& recentFiles() {
    return coreState().Get<RecentFiles>();
}
