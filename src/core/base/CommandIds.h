#pragma once

// Command ids of every menu item and toolbar button of the main window. The numbers are the program's
// own fixed ids: status prompts, the command registry and the toolbar all refer to commands by them.

// File menu
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_CLOSE = 57602;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_OPEN_ED2 = 32944;         // "Open Pro&ject .ed2"
constexpr int ID_FILE_DOWNLOAD_CURRENT = 32800; // "&Download Current"
constexpr int ID_FILE_DOWNLOAD_FILE = 32801;    // "Download &File..."
constexpr int ID_FILE_LOAD_BINARY = 32947;
constexpr int ID_FILE_SAVE_BINARY = 32949;
constexpr int ID_APP_EXIT = 57665;
// Toolbar "&Save" button: saves the active document
constexpr int ID_TOOLBAR_SAVE = 32833;

// Edit menu
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_CLEAR = 57632; // "&Delete"
constexpr int ID_EDIT_FIND = 57636;
constexpr int ID_EDIT_REPEAT = 57640; // "Find next F3"
constexpr int ID_EDIT_REPLACE = 57641;
constexpr int ID_EDIT_VALIDATE = 32996; // also in the Project menu

// Settings menu
constexpr int ID_SETTINGS_NEW = 32961;
constexpr int ID_SETTINGS_OPEN = 32789;
constexpr int ID_SETTINGS_SAVE = 32790;
constexpr int ID_SETTINGS_SAVE_AS = 32791;
constexpr int ID_SETTINGS_CONFIGURATION = 32795;
constexpr int ID_SETTINGS_JOINT_NAMES = 32973;
constexpr int ID_SETTINGS_CARTESIAN_AXES = 32974;
constexpr int ID_SETTINGS_FONT = 32807; // "&Font...": font of the active window

// Comm menu
constexpr int ID_COMM_REOPEN = 32771;
constexpr int ID_COMM_CONFIGURE = 32782;
constexpr int ID_COMM_SAVE = 32995; // "Save Communication"
constexpr int ID_COMM_LOG = 32997;  // "Log to file...", checked while the console is logged

// Robot menu and its toolbar buttons
constexpr int ID_ROBOT_JOINT_POSITION = 32793;
constexpr int ID_ROBOT_CARTESIAN_POSITION = 32815;
constexpr int ID_ROBOT_JOINT_ABS_MOVE = 32796;
constexpr int ID_ROBOT_JOINT_REL_MOVE = 32797;
constexpr int ID_ROBOT_CARTESIAN_ABS_MOVE = 32816;
constexpr int ID_ROBOT_CARTESIAN_REL_MOVE = 32817;
constexpr int ID_ROBOT_START = 32835;
constexpr int ID_ROBOT_CALIBRATE = 32830;
constexpr int ID_ROBOT_HOME = 32831;
constexpr int ID_ROBOT_TEACH = 32794;
constexpr int ID_ROBOT_JOG = 32953;
constexpr int ID_ROBOT_GRIP_TOGGLE = 32954;
constexpr int ID_ROBOT_JOINT_MODE = 32963;
constexpr int ID_ROBOT_CARTESIAN_MODE = 32964;
constexpr int ID_ROBOT_SEGMENTED = 32969;
constexpr int ID_ROBOT_CONTINUOUS = 32970;
constexpr int ID_ROBOT_SMOOTH = 32956; // toolbar button only

// Project menu
constexpr int ID_PROJECT_NEW = 32958;
constexpr int ID_PROJECT_OPEN = 32812;
constexpr int ID_PROJECT_CLOSE = 32950;
constexpr int ID_PROJECT_SAVE = 32811;
constexpr int ID_PROJECT_SAVE_AS = 32813;
constexpr int ID_PROJECT_RELOAD = 32972;
constexpr int ID_PROJECT_UPDATE_DATA = 32828;
constexpr int ID_PROJECT_DOWNLOAD_TEXT = 32824;
constexpr int ID_PROJECT_DOWNLOAD_DATA = 32951;
constexpr int ID_PROJECT_VALIDATE = ID_EDIT_VALIDATE;
constexpr int ID_PROJECT_PLACES = 32809;
constexpr int ID_PROJECT_ROUTES = 32810;
constexpr int ID_PROJECT_EXPORT = 32998; // "Export places and routes..."

// Macro menu
constexpr int ID_MACRO_FILE_NEW = 32962;
constexpr int ID_MACRO_FILE_OPEN = 32837;
constexpr int ID_MACRO_FILE_CLOSE = 32966;
constexpr int ID_MACRO_FILE_SAVE = 32839;
constexpr int ID_MACRO_FILE_SAVE_AS = 32840;
constexpr int ID_MACRO_EDIT = 32841;
// Macro bar buttons: button i (0..9) has the id ID_MACRO_BUTTON_FIRST + i
constexpr int ID_MACRO_BUTTON_FIRST = 260;
constexpr int ID_MACRO_BUTTON_COUNT = 10;

// View menu
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_MACRO_BAR = 32957;
constexpr int ID_VIEW_STATUS_BAR = 59393;

// Window menu
constexpr int ID_WINDOW_CASCADE = 57650;
constexpr int ID_WINDOW_TILE_HORZ = 57651;
constexpr int ID_WINDOW_TILE_VERT = 57652;
// F6 / Shift+F6: next and previous pane
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;

// Help menu
constexpr int ID_APP_ABOUT = 57664;
