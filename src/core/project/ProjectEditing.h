#pragma once

#include "core/project/ProjectService.h"
#include "core/protocol/PositionRecord.h"

#include <string>

// Creating, copying, resizing, renaming and deleting places and routes in step with the controller.
// Each operation first sends the controller the command that makes the change there and changes the
// image only when the controller accepts it; a change that cannot be mirrored command by command sends
// the whole image (and, when names moved, the declarations) again. Every change marks the project
// modified and is announced by the project service so that the windows redraw. Entries are byte
// offsets in the image (runlist::kNoEntry for none); offsets after a moved or removed entry change.

// The project changed: marks it modified and announces `what` (Modified is always added).
void ProjectEdited(ProjectService::Changes what);

// The "Edit data" dialog on `rec`, in the Cartesian layout when bit 1 of its code is set. On "OK" the
// edited values and code replace `rec` and the result is true; on "Cancel" `rec` is left as it was.
bool EditRecord(PositionRecord& rec);

// A place at the arm's present position (read in the Cartesian or the joint form) with an empty
// approach. Sends nothing of its own: the caller declares it ("PLACE " + name) and marks the project
// modified. Returns the place, or none when it does not fit (the message has been shown).
int AddPlace(const std::string& name, bool cartesian);

// A route of `lines` line slots: "JOINT" or "CARTESIAN" (mode 0 or 1), "SUB " in front of the
// declaration for a relative route, "ROUTE " + name, lines + " RESERVE". A row or grid route (columns
// not 0) gets its rows x columns (or columns) lines filled with zero positions, and the image is sent.
// The slots are cleared. Returns the route, or none when the controller refused or the image is full;
// a route the controller had already made is forgotten again ("FORGET " + name).
int AddRoute(const std::string& name, int lines, int mode, bool relative, int rows, int columns);

// A copy of route `r` under `newName`: declared and reserved on the controller, copied in the image
// (header and every slot) and the image sent. Returns the copy, or none.
int CopyRoute(int r, const std::string& newName);

// Gives route `r` `lines` slots (not fewer than its count), moving the entries after it. The last
// route (only places may follow it) is resized on the controller with name + " " + difference +
// " RESERVE"; any other closes the route editors and sends the image. Added slots are cleared.
// False, with "Insufficient space", when the list would pass its limit.
bool ResizeRoute(int r, int lines);

// Deletes entry `e`: the last entry is forgotten on the controller ("FORGET " + name); any other is
// cut out of the image, the names renumbered, the route editors closed, and the image and the
// declarations sent again.
void DeleteEntry(int e);

// Asks whether the project's text may be reloaded, then a new name ("Edit name"); the name replaces
// the old one and the declarations are sent again. False when the operator stopped.
bool RenameEntry(int e);
