#include "core/project/NameCheck.h"

#include "core/project/ProjectModel.h"

std::string ValidateNewName(const std::string& newName, const std::string& oldName) {
    if (newName.empty())
        return "Please enter a name";
    if (newName != oldName && projectModel().FindEntry(newName) != runlist::kNoEntry)
        return newName + " already exists";
    return std::string();
}
