#pragma once

#include "core/protocol/PositionRecord.h"

#include <cstdint>
#include <sstream>
#include <string>

// Typed exchanges with the controller on top of the reply handshake: read and move the arm, load a
// place, read and store numbers. Each formats one command line in decimal, sends it, waits for the
// reply and, for queries, reads the answer out of the reply line. Positions go from the last axis to
// the first; how many values travel is the arm profile's number of joints or Cartesian axes.
// Every operation returns true on an accepted reply; any message has already been shown.

using AxisValues = std::int16_t[6];

// Sends the composed text with CR appended (no wait); false when the link is not open.
bool SendStreamLine(const std::ostringstream& text);

// "DECIMAL GF" / "DECIMAL CF": the answer's numbers go to values 0, 1, ... in order. An answer with
// fewer numbers than axes still counts as read; the axes it leaves out keep their values.
bool ReadJoints(AxisValues& values);
bool ReadCartesian(AxisValues& values);
// Reads the kind of position the record holds (bit 1 of its code: Cartesian).
bool ReadPosition(PositionRecord& record);

// "JMA" / "JMR" and "CM" moves, waited for under the held "Robot moving" / "Robot Moving" box.
bool MoveJoints(const PositionRecord& record, bool relative);
bool MoveCartesian(const PositionRecord& record);

// Loads all six values into a place or a route line named by `target` ("... DLD").
bool LoadPlace(const AxisValues& values, const std::string& target);

// The number the controller prints for "DECIMAL " + expression; SimulatedController::kQueryAnswer
// under simulation.
bool QueryNumber(const std::string& expression, int& number);
bool QueryVariable(const std::string& name, int& number);
bool StoreVariable(const std::string& name, int number);

// The command texts, exposed so that callers and tests compose exactly what is sent.
std::string JointMoveText(const PositionRecord& record, bool relative);
std::string CartesianMoveText(const PositionRecord& record);
std::string LoadPlaceText(const AxisValues& values, const std::string& target);
// Reads up to `count` whitespace-separated signed 16-bit numbers into values; returns how many.
int ParseAxisValues(const std::string& answer, int count, AxisValues& values);
