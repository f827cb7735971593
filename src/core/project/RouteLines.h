#pragma once

#include "core/protocol/PositionRecord.h"

#include <cstdint>
#include <string>

// Editing the lines of a route in step with the controller: positions learned at the arm, approach
// lines, function lines (a call of a controller word) and contour lines (a generator route's program).
// A command the controller refuses ends the operation with the image unchanged; what follows an
// accepted command always completes. Routes are entry offsets; lines are numbered from 1.

// Opens a slot at line n: appended (name + " LEARN") when n is past the count, otherwise inserted
// (name + " " + n + " INSERT") with lines n to count moved down one. The count is not changed. False
// when the controller refused or the route has no free slot.
bool OpenLineSlot(int r, int n);
// Line n becomes a position learned at the arm (joint or Cartesian by the route's mode); count + 1.
void StoreLearnedLine(int r, int n);
// OpenLineSlot, then StoreLearnedLine.
bool InsertLearnedLine(int r, int n);
// Appends a relative line learned at the arm (name + " RLEARN 31 MSP !", then "0 MSP !").
bool AppendApproachLine(int r);
// name + " " + n + " DELETE"; lines after n move up one.
bool DeleteLine(int r, int n);

// The teach pad learned a line into the active route, or dropped its last line; the controller has
// already done so. Nothing happens without an active route (or a full or empty one).
void AppendLearnedLine();
void DropLastLine();

// Sends line n's six values to the controller ("DECIMAL " ... name + " " + n + " LINE DLD").
bool SendLineValues(int r, const PositionRecord& line, int n);
// Stores a line's code on the controller: the text of "%d %s %d LINE 12 + E!" with code, name, n.
bool SendLineCode(int r, std::uint16_t code, int n);
std::string LineCodeText(std::uint16_t code, const std::string& name, int n);

// word + " " + parameter + " PURGE": the call a function line makes.
std::string FunctionCallText(const std::string& word, int parameter);
// Line n calls `word` with `parameter`: its code is the word's address as the controller finds it
// ("FIND " + word + " ."; 345 when the query fails), value 0 the parameter.
void SetFunctionLine(int r, int n, const std::string& word, int parameter);
// The "Route Function" dialog, then the call inserted at n (name + " " + n + " 'INSERT " + call, or
// name + " 'LEARN " + call past the count). False when cancelled or refused.
bool InsertFunctionLine(int r, int n);
// The dialog filled from line n, then name + " " + n + " 'REPLACE " + call.
bool EditFunctionLine(int r, int n);

// The "Contour function" dialog, then a contour line at n: a slot opened as for a position, the
// code 16 + function and the two parameters in tenths stored and sent with their values.
bool InsertContourLine(int r, int n);
// The dialog filled from line n; the line stored and sent again.
bool EditContourLine(int r, int n);

// The name of the controller word a function line calls (asked once per address, then cached).
std::string WordName(const PositionRecord& line);
