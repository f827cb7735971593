#pragma once

#include <functional>
#include <string>

// The points where the file documents and other subsystems join the application's start, close and
// exit. The application runs them in this fixed order; a subsystem fills its own fields from its Bind
// function (see BindAllCommands.cpp). An empty field is skipped.
struct AppHooks {
    // Start-up, after the main window is up and before the link opens.
    std::function<void()> LoadEditFont;    // the text editor's font ("edit"/"Font")
    std::function<void()> ReopenSettings;  // reopen "Config"/"filename" into the settings profile
    std::function<void()> ReopenMacros;    // reopen "Macro"/"filename" into the macro set
    std::function<void()> LoadProjectName; // preset the project's file name from "Project"/"filename"
    std::function<void()> ReopenLog;       // the console log, when it was on at the last exit
    // Start-up, after the link is open: the controller's word list.
    std::function<void()> LoadWordList;

    // Closing the main window: each asks its save question; false stops the close.
    std::function<bool()> MayCloseSettings;
    std::function<bool()> MayCloseProject;
    std::function<bool()> MayCloseMacros;
    // Then the text windows: every save question first, and the windows close only when none was
    // cancelled; false stops the close.
    std::function<bool()> CloseTextWindows;

    // Exit, after the link is closed.
    std::function<void()> RememberSettingsName; // write "Config"/"filename"
    std::function<void()> RememberProjectName;  // write "Project"/"filename", then empty the project
    std::function<void()> RememberMacrosName;   // write "Macro"/"filename"

    // Document titles for the status bar panes; empty while the document has none.
    std::function<std::string()> SettingsTitle;
    std::function<std::string()> ProjectTitle;

    // Runs the three save questions in order: settings, project, macros. False when one was cancelled.
    bool AskCloseQuestions() const;
    // Runs the start-up steps that open remembered files, in order.
    void RunReopenSteps() const;
    // Runs the exit steps that remember the file names, in order.
    void RunRememberSteps() const;
};

// The program's one set of hooks.
AppHooks& appHooks();
