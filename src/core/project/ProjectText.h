#pragma once

#include <string>

class ProjectModel;

// Sends the project's declarations (as its .ed1 file holds them) and then its source text, the file at
// `ed2Path`, to the controller line by line, each line run before the next. False when the controller
// refused a declaration or the operator cancelled; the source text's own outcome does not count, and a
// project without a source file sends only its declarations.
bool DownloadProjectText(const ProjectModel& model, const std::string& ed2Path);
