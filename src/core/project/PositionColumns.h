#pragma once

#include "core/protocol/PositionRecord.h"

#include <string>
#include <vector>

// The value columns of the places window and the route editor, as texts the windows put into cells.

// One header per Cartesian axis name or per joint name of the settings profile, in order.
std::vector<std::string> PositionColumnNames(bool cartesian);
// A record's values by its own Cartesian flag: joint values as whole numbers ("%d"), one per joint;
// Cartesian values in tenths shown with one decimal ("%.1f" of value x 0.1), one per Cartesian axis.
std::vector<std::string> PositionValueTexts(const PositionRecord& rec);
