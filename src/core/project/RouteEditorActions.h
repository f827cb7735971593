#pragma once

#include "core/project/ProjectModel.h"

#include <cstdint>
#include <string>
#include <vector>

// What the route editor's buttons do, and when they are enabled. Each action takes the editor's route
// and its selected line s (1-based, 0 for none) and returns the line the editor selects when it
// rebuilds its list afterwards (0 for none).

// What the enabling rules look at: the controller being idle, the selection and the route.
struct RouteFacts {
    bool ready = false;
    int selected = 0;
    int count = 0;
    bool full = false;
    RouteLayout layout = RouteLayout::General;
    // The selected line's code (meaningful when a line is selected).
    std::uint16_t selectedCode = 0;
};
RouteFacts RouteFactsOf(int r, int s, bool ready);

enum class EditorButton {
    Close,
    GoTo,
    GoNear,
    SetToHere,
    InsertPosition,
    InsertFunction,
    AppendPosition,
    AppendFunction,
    Delete,
    EditLine,
    AddToAll,
    SetApproach,
    Interpolate,
    InterpolateCorners,
    Run
};
bool EditorButtonEnabled(EditorButton button, const RouteFacts& facts);

// The editor became the active view: its route becomes the active route and, when that changed, the
// route's name and CR go to the controller (no reply awaited), so the teach pad learns into it.
void ActivateRouteEditor(int r);

// "GoTo/Exec" and "Go near": name + " " + s + " GOTO" / " NEAR".
int EditorGoTo(int r, int s);
int EditorGoNear(int r, int s);
// "Set to Here": an absolute position line is read again at the arm and name + " " + s + " REPLACE"
// sent; a relative line stays.
int EditorSetToHere(int r, int s);
// "Insert Position" at s (1 on an empty route) and "Append Position" after the last line.
int EditorInsertPosition(int r, int s);
int EditorAppendPosition(int r);
// "Insert Function" and "Append Function": a contour line in a generator route ("_" name), otherwise a
// function line.
int EditorInsertFunction(int r, int s);
int EditorAppendFunction(int r);
// "Delete", after "Do you wish to delete index " + s.
int EditorDelete(int r, int s);
// "Edit line": "Edit data" on a position line (its values then sent), the contour or the function
// dialog on the other lines.
int EditorEditLine(int r, int s);
// "Add to All": "Edit data" on a blank record of the route's kind, added to every absolute position
// line, then the image sent.
int EditorAddToAll(int r, int s);
// "Set Apprch": a relative line learned at the arm is appended.
int EditorSetApproach(int r);
// "Interpolate" and "Interp. 4Pt.", then the image sent.
int EditorInterpolate(int r);
int EditorInterpolateCorners(int r);
// "Run": name + " RUN"; "Generate" in a generator route runs the route generator.
int EditorRun(int r, int s);

// The editor's frame title, "Route " + name, and the label of its last button.
std::string RouteEditorTitle(int r);
std::string RunButtonLabel(int r);
// The list's headers: "Line", "row" and "col" for a grid, then one per axis of the route's kind.
std::vector<std::string> RouteEditorColumnNames(int r);
// The cells of line n: its number ("%2d", with " R" for a relative line, " *" and " i4" on a grid's
// corners), a grid's row and column, then the values; a contour line shows its function and two
// parameters, a function line its word and parameter.
std::vector<std::string> RouteLineTexts(int r, int n);
