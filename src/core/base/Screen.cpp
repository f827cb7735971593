#include "core/base/Screen.h"

namespace {
Screen g_screen;
} // namespace

void InstallScreen(const Screen& screen) {
    g_screen = screen;
}

const Screen& installedScreen() {
    return g_screen;
}
