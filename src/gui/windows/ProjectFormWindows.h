#pragma once

class CMainFrame;
class CommandRegistry;

// The places and routes windows in the main window: registers their window kinds ("Places" and
// "Routes", one window each, in a form frame), binds "&Places..." and "&Routes..." (enabled while the
// project has a file name) to open or raise them, and has their buttons follow every refresh of the
// main window's commands. The places window opens in the layout last chosen with "Show data" or
// "Hide data" during this run (the narrow one at start).
void BindProjectFormWindows(CommandRegistry& registry, CMainFrame& frame);
