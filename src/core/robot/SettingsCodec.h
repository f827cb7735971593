#pragma once

#include "core/robot/SettingsValues.h"

#include <QByteArray>

// The .cfg form of a settings profile: little-endian 16-bit words (version 8 first), then the joint
// names and the Cartesian axis names as counted string arrays.
QByteArray EncodeSettings(const SettingsValues& values);

enum class SettingsDecode {
    Ok,           // every field was read
    WrongVersion, // the version word is not 8; nothing was taken
    Damaged       // the file ends early or holds impossible counts; nothing was taken
};

// Reads a .cfg file into `values`. Only a complete, sound file changes `values`; the words that
// loading drops (13, 14 and 18) keep their values in memory.
SettingsDecode DecodeSettings(const QByteArray& bytes, SettingsValues& values);
