#pragma once

class CMainFrame;

// Route editors in the main window: the window kind the project's editor registry opens (one editor
// per route, any number of routes), the editor's route named to the controller when its window
// becomes the active one, and the editors' buttons re-read whenever the main window's commands are.
void BindRouteEditorWindows(CMainFrame& frame);
