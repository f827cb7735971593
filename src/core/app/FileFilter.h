#pragma once

#include <string>
#include <vector>

// One entry of a file dialog's list of filters.
struct DialogFilter {
    // "Name (patterns)"; the dialog filters by the patterns in parentheses.
    std::string nameFilter;
    // Only names without an extension belong to the entry; no pattern can say so, the dialog hides
    // the names with a dot itself.
    bool withoutExtension = false;
};

// Turns a file-dialog filter of the form "Name (*.ext)|*.ext|Other (*.a;*.b)|*.a;*.b||" into the
// dialog's entries "Name (*.ext)", each showing the patterns it filters by. The patterns are written
// for names that always have an extension, so two are put the way file names here need: "*.*" (every
// file) becomes "*", and "*." (a name without an extension) becomes "*" for an entry that lists only
// names without a dot.
std::vector<DialogFilter> DialogFiltersFromFilter(const std::string& filter);

// The folder a file dialog starts in for a current file name that may be a bare pattern ("*.cfg") or
// a path with a pattern ("/home/op/*.cfg"); empty when the name names no folder.
std::string StartFolderOf(const std::string& fileName);
// The file a dialog preselects: the name without its folder, or empty when it is a pattern.
std::string StartFileOf(const std::string& fileName);
