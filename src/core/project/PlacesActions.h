#pragma once

#include "core/protocol/PositionRecord.h"

#include <string>
#include <vector>

// What the places window's buttons do, so that the window only gathers the selection, calls these and
// redraws when the project service announces the change.

// A line of the places list: a place's position line, or its approach line.
struct PlaceLine {
    int place = 0;
    bool approach = false;
};

// The list's lines in order: every place, each followed by its approach line when it has an approach.
std::vector<PlaceLine> PlaceListLines();
// The record a line shows: the place's position or its approach.
PositionRecord PlaceLineRecord(const PlaceLine& line);
// The line's cells: "Approach" (or empty on a position line), the name, "C" or "J", then the values.
std::vector<std::string> PlaceLineTexts(const PlaceLine& line);

enum class PlacesButton { Close, GoTo, SetToHere, AddNew, SetApproach, EditName, EditData, ShowData, Delete };
// Whether a button is enabled; `ready` is the controller being idle, `selection` a line being selected.
bool PlacesButtonEnabled(PlacesButton button, bool ready, bool selection);

// "Go To": the place's name alone drives the arm there, "'NEAR " + name + " GOTO" to its approach.
bool PlacesGoTo(const PlaceLine& line);
// "Set to Here": "PLEARN " + name and the position read again, or on an approach line as "Set Apprch".
void PlacesSetToHere(const PlaceLine& line);
// "Set Apprch": "APPROACH " + name; the approach becomes the arm's position less the place's.
void PlacesSetApproach(int place);
// "Add New": a name ("New place"), the controller's coordinate mode, the place at the arm's position,
// "PLACE " + name. Returns the new place, or none ("Insufficient space" below two free paragraphs).
int PlacesAddNew();
// "Edit name".
bool PlacesEditName(int place);
// "Edit Data": "Edit data" on the line's record, then its values loaded into "' " + name + " @ 16 +"
// (or "32 +" for the approach).
bool PlacesEditData(const PlaceLine& line);
// "Delete", after "Do you wish to delete place " + name.
bool PlacesDelete(int place);
