#pragma once

#include <string>

// The longest name a place or route may be given.
constexpr int kMaxEntryNameLength = 8;

// The check of a name typed for a place or route that was called `oldName` (empty for a new one):
// the text to show the operator when the name cannot be taken ("Please enter a name", or the name
// followed by " already exists" when another entry of the project has it, compared exactly), empty
// when it can. The unchanged old name is always accepted, even though its own entry has it.
std::string ValidateNewName(const std::string& newName, const std::string& oldName);
