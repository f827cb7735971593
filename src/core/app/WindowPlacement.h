#pragma once

#include <optional>
#include <string>

// The main window's placement as remembered in "Winpos"/"MainFrame": ten numbers, in order the
// placement flags, the show state, the minimised position, the maximised position and the normal
// rectangle (left, top, right, bottom; right and bottom lie just outside the window).
struct WindowPlacement {
    static constexpr unsigned kShowNormal = 1;
    static constexpr unsigned kShowMinimized = 2;
    static constexpr unsigned kShowMaximized = 3;

    unsigned flags = 0;
    unsigned showCmd = kShowNormal;
    int minX = -1;
    int minY = -1;
    int maxX = -1;
    int maxY = -1;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d".
    std::string Format() const;
    // Exactly ten comma-separated integers, or nothing.
    static std::optional<WindowPlacement> Parse(const std::string& text);

    int width() const { return right - left; }
    int height() const { return bottom - top; }
};
