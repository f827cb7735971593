#pragma once

class RobotUi;
class TextDocuments;
class UiSeam;

// Everything the core needs from the screen, installed together: the program installs its windows at
// start-up, a test its scripted stand-ins. A seam left empty falls back to its silent default (no
// message shown, every question and dialog cancelled, no text document open), so the core can run
// with no screen at all.
struct Screen {
    UiSeam* ui = nullptr;           // messages, questions, the wait box, events, file dialogs
    RobotUi* robot = nullptr;       // the position dialog, the teach pad and jog windows
    TextDocuments* texts = nullptr; // the text editor's documents
};

// Installs a screen (not owned), replacing every seam of the one before; InstallScreen({}) goes back
// to the silent defaults.
void InstallScreen(const Screen& screen);
// The screen installed now; ui(), robotUi() and textDocuments() read their seam from it.
const Screen& installedScreen();
