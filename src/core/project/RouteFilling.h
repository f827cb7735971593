#pragma once

#include "core/project/RouteInterpolation.h"
#include "core/protocol/PositionRecord.h"

// Filling a route's lines by computation on the PC: interpolation over row and grid routes, an offset
// added to every position, and the route generator. The image changes and the project is marked
// modified; the controller gets the lines with the next data download (the route editor's commands and
// GenerateRoute send it).

// Line n takes the values `values`, each rounded half away from zero; code and count stay.
void SetLineFromDoubles(int r, int n, const LineValues& values);
// Three-point and four-corner interpolation over the route's rows and columns (RouteInterpolation.h).
// False, with nothing changed, when the route has no grid or fewer lines than its grid.
bool InterpolateGrid(int r);
bool InterpolateCorners(int r);
// Adds `offset`'s six values to every absolute position line (code exactly 0 or 2), in 16-bit
// arithmetic; relative, function and contour lines stay.
void AddToAllLines(int r, const PositionRecord& offset);

// Runs the contour program of generator route `g` (named "_" + the target's name) into its target
// route: the target's lines are replaced by the points, never more than its reserved lines, the
// image is sent and the target's editor redrawn. A target too small or an SDP without its three
// points is reported. False when there is no target route.
bool GenerateRoute(int g);
