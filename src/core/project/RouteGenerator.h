#pragma once

#include "core/protocol/PositionRecord.h"

#include <cstdint>
#include <vector>

// What a generator route's contour program produced for its target route.
struct GeneratedRoute {
    // The target's lines from line 1: Cartesian positions (code 2), never more than the capacity.
    std::vector<PositionRecord> lines;
    // Points the walk produced, including those that found no free line in the target.
    std::int64_t wantedPoints = 0;
    // The 1-based line of an SDP that lacks its three point lines; the walk stopped there. 0: none.
    int incompleteFrameLine = 0;

    bool StoppedAtCapacity() const { return wantedPoints > static_cast<std::int64_t>(lines.size()); }
};

// Walks the contour program `program` (the generator route's lines, line 1 first) from the start
// frame: position (0, 100, 0) mm, direction (1, 0, 0), left (0, 1, 0), step 30 mm, orientation 0.
// LIN walks a straight line, ARA an arc bending to the left and turns the frame by its angle, SDP
// emits the point of the next line and sets the frame from it and the two after it (their codes are
// not looked at), INC sets the step; any other line is skipped. Each point becomes one target line with x, y,
// z in tenths of a millimetre (rounded to single precision first) and the orientation in values 3 to 5. Once
// `capacity` lines are filled, further points are only counted.
GeneratedRoute GenerateRoute(const std::vector<PositionRecord>& program, int capacity);
