#pragma once

#include <vector>

// The main window's commands as the menus, the toolbar and the status bar show them.
struct CommandText {
    int id = 0; // 0: a separator
    const char* text = "";
    const char* prompt = ""; // status bar prompt, also the tooltip's source
    const char* shortcut = "";
};

struct MenuText {
    const char* title;
    std::vector<CommandText> items;
};

// The menu bar, menus and items in order.
const std::vector<MenuText>& MainMenus();
// Commands that are in no menu: toolbar-only buttons and keyboard-only commands.
const std::vector<CommandText>& OtherCommands();
// The toolbar's buttons in order (0 = separator between groups) and each button's icon name.
struct ToolButtonText {
    int id;
    const char* icon;
};
const std::vector<ToolButtonText>& ToolbarButtons();
