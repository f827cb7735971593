#pragma once

#include <string>

// The narrow interface through which the plain core (link, protocol, project, file formats) reaches the
// screen: message boxes, questions, the wait box, pumping events and opening windows. It is one seam
// of the Screen (core/base/Screen.h) that the application installs at start and tests replace.
// Methods with a body have a harmless default so that a test seam only overrides what it needs.

enum class Answer { Yes, No, Cancel };

// The wait box: a line of text with "Cancel", or the text with a progress bar (0..100) and "Cancel".
enum class WaitBoxStyle { Plain = 0, Progress = 1 };

class UiSeam {
public:
    virtual ~UiSeam() = default;

    // Message box with an OK button, caption "Orlanek Robot System".
    virtual void ShowMessage(const std::string& text) = 0;
    // Yes/No question; Cancel is never returned.
    virtual Answer AskYesNo(const std::string& text) = 0;
    // Yes/No/Cancel question (saving questions).
    virtual Answer AskYesNoCancel(const std::string& text) = 0;

    // The wait box. Closing it by its "Cancel" button must call protocol().WaitBoxClosed().
    virtual void OpenWaitBox(const std::string& text, WaitBoxStyle style) = 0;
    virtual void CloseWaitBox() = 0;
    virtual void SetProgress(int done, int total) = 0;
    // Replaces the open wait box's text (a long download's "line n of N").
    virtual void SetWaitText(const std::string& /*text*/) {}

    // Handle every event already pending without blocking; true when the application is quitting.
    virtual bool PumpMessages() = 0;
    // Block until at least one more event has arrived and handle it (no CPU while nothing arrives).
    // False when no event can ever arrive (nothing to wait on): the waiting operation then gives up
    // as if the operator had cancelled.
    virtual bool WaitForEvent() = 0;
    // Queue a re-evaluation of which commands are enabled (the reply state or a document changed).
    virtual void KickIdle() {}
    // Warning beep.
    virtual void Beep() {}
    // The link created its communication document: open the terminal window on it.
    virtual void OpenCommWindow() {}

    // Creates a route editor; it takes its route from the project service's editors.PendingEditorRoute
    // when first shown.
    virtual void OpenRouteEditorWindow() {}

    // File dialogs. `filter` has the form "Name (*.ext)|*.ext||"; `defaultExt` is added when the operator
    // types no extension; `startPath` is the current file name (it may be a wildcard such as "*.cfg",
    // whose folder the dialog starts in). The save dialog confirms overwriting. An empty result means
    // the operator cancelled.
    virtual std::string AskOpenFileName(const std::string& /*title*/, const std::string& /*filter*/,
                                        const std::string& /*defaultExt*/, const std::string& /*startPath*/) {
        return std::string();
    }
    virtual std::string AskSaveFileName(const std::string& /*title*/, const std::string& /*filter*/,
                                        const std::string& /*defaultExt*/, const std::string& /*startPath*/) {
        return std::string();
    }
    // The project's small dialogs. Each returns true on OK with the entered values in its arguments,
    // false on Cancel (arguments untouched). Defaults cancel, as every dialog does without a screen.
    // The name dialog "Name" titled `title`, starting from `name` (8 characters at most, checked with
    // ValidateNewName against the starting name).
    virtual bool AskName(std::string& /*name*/, const std::string& /*title*/) { return false; }
    // "Route Function": a controller word's name (8 characters at most) and an integer parameter.
    virtual bool AskRouteFunction(std::string& /*word*/, int& /*parameter*/) { return false; }
    // "Contour function": the contour code (0 ARA, 1 SDP, 2 LIN, 3 INC) and its two parameters.
    virtual bool AskContourFunction(int& /*code*/, double& /*a*/, double& /*b*/) { return false; }
};

// The installed seam. Never null: a silent default answers until the application or a test installs one.
UiSeam& ui();
