#pragma once

#include <string>

class ProjectModel;

// Moving the whole run-list image between the PC and the controller's RUN-LIST.

// Sends the used part of the image (up to the terminator) to the controller, with a progress box.
// Failures have been reported by the transfer; nothing changes on the PC side.
void DownloadData();

// Replaces the image by the controller's RUN-LIST and binds the project's names to its entries again,
// in order. Does nothing while the controller is simulated. Marks the project modified.
void UpdateData();

// "Re&load": the image, then the declarations and the source text.
void ReloadProject();

// Binds EntryNames, in order, to the entries of a freshly uploaded image and ends the list after the
// last one. Returns the error text, or an empty string on success.
std::string BindUploadedNames(ProjectModel& model);
