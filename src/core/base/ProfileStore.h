#pragma once

#include <string>

// The per-user settings store: named integer and string entries in sections, kept with
// QSettings("Orlanek", "Orlanek Robot System"). Tests point it at a file of their own.

int GetProfileInt(const std::string& section, const std::string& key, int defaultValue);
void WriteProfileInt(const std::string& section, const std::string& key, int value);
std::string GetProfileString(const std::string& section, const std::string& key,
                             const std::string& defaultValue = std::string());
void WriteProfileString(const std::string& section, const std::string& key, const std::string& value);

// Redirects the store to an INI file (tests, demonstrations); an empty path restores the user's store.
void UseProfileFile(const std::string& path);
