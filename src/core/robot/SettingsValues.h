#pragma once

#include <array>
#include <string>
#include <vector>

// Everything a settings profile holds, with the values of a fresh profile. The words without a use of
// their own are kept so that a profile is written back exactly as it was read.
struct SettingsValues {
    static constexpr int kVersion = 8;

    int field2 = 0;
    int field3 = 1;
    int cartesianAxes = 6;
    int joints = 6;
    int simulate = 0;
    std::array<int, 6> axisWords{{100, 100, 100, 100, 100, 100}};
    int field13 = 0;
    int newRouteCoordinates = 0; // preset "Coordinates" of a new route: 0 Joint, 1 Cartesian
    int field15 = 1;
    int field16 = 1000;
    int field17 = 1000;
    int field18 = 0;
    int field19 = 0;
    int hideMode = 1;
    std::vector<std::string> jointNames{"Waist", "Shoulder", "Elbow", "Hand", "Wrist", "Yaw", ""};
    std::vector<std::string> axisNames{"X", "Y", "Z", "pitch", "roll", "yaw", ""};
};
