#pragma once

#include <string>
#include <vector>

// Turns a file-dialog filter of the form "Name (*.ext)|*.ext|Other (*.a;*.b)|*.a;*.b||" into name
// filters of the form "Name (*.ext)". A description that does not show its patterns gets them added
// in parentheses, so the dialog still filters by them.
std::vector<std::string> NameFiltersFromFilter(const std::string& filter);

// The folder a file dialog starts in for a current file name that may be a bare pattern ("*.cfg") or
// a path with a pattern ("/home/op/*.cfg"); empty when the name names no folder.
std::string StartFolderOf(const std::string& fileName);
// The file a dialog preselects: the name without its folder, or empty when it is a pattern.
std::string StartFileOf(const std::string& fileName);
