#pragma once

class CMainFrame;
class CommandRegistry;
class TextWindows;

// Binds the File menu's text commands ("&New", "&Open...", "Open Pro&ject .ed2", "Download &File...")
// and makes the main window's text editor windows, which the program's screen (ProgramScreen) gives the
// core as its text documents. The commands of the active text window itself (Close, Save, Download
// Current, the Edit menu, Font) reach it through the main window's routing to the active view. Other
// programs' file downloads are served from here too.
void BindTextCommands(CommandRegistry& registry, CMainFrame& frame);

// The program's text windows; nullptr before BindTextCommands.
TextWindows* textWindows();
