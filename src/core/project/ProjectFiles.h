#pragma once

#include <QByteArray>
#include <ostream>
#include <string>

class ProjectModel;

// The three files of a project, which share one base name: the .run file holds the run-list image
// byte for byte, the .ed1 file the declarations that name its entries in order, the .ed2 file the
// project's source text.

// `path` with its extension replaced by `ext` (added when it has none); empty for an empty path.
std::string ChangeExtension(const std::string& path, const std::string& ext);

// The companion file of `path` with extension `ext`: an existing file of that base name whose
// extension equals `ext` in any case (the exact spelling preferred), else ChangeExtension(path, ext).
std::string CompanionPath(const std::string& path, const std::string& ext);

// The .run bytes of the image: offsets 0 to RunListEnd + 1 (the terminator included).
QByteArray RunFileBytes(const ProjectModel& model);

// Puts a .run file's bytes, as many as the image holds, into the image from offset 0; the rest of the
// image is cleared so that nothing of an earlier project shows through a shorter file.
void LoadRunFileBytes(ProjectModel& model, const QByteArray& bytes);

// Binds the entries of the loaded image to the names declared in the .ed1 text: the first two tokens
// are skipped, then each "PLACE" or "ROUTE" token and the name after it bind the next entry of the
// list, which must be of that kind; other tokens are skipped. Entries beyond the last declared one are
// dropped. Returns the error text, or an empty string on success; the names bound so far stay in
// EntryNames either way.
std::string BindDeclarations(ProjectModel& model, const std::string& text);

// Writes the declarations: "KAVENTRIX", "STARTOVER", then "PLACE " or "ROUTE " and the name of every
// entry in list order, each line ended by "\n". False as soon as the stream fails (its state is
// cleared again).
bool WriteDeclarations(std::ostream& out);
bool WriteDeclarations(std::ostream& out, const ProjectModel& model);
