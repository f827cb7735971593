#pragma once

#include <string>

class ProjectModel;

// Moving the whole run-list image between the PC and the controller's RUN-LIST. The project document
// runs these as steps of its own operations (CPosDat::DownloadData, UpdateData, ReloadProject).

// Sends the used part of the image (up to the terminator) to the controller, under the
// "Downloading data" box with its progress bar. False when the transfer failed (it has said why).
bool DownloadImage(const ProjectModel& model);

// Replaces the image by the controller's RUN-LIST, under the "Uploading" box with its progress bar.
// False when the upload failed; the image may then hold part of the controller's list.
bool UploadImage(ProjectModel& model);

// Binds EntryNames, in order, to the entries of a freshly uploaded image and ends the list after the
// last one. Returns the error text, or an empty string on success.
std::string BindUploadedNames(ProjectModel& model);
