#pragma once

#include <QString>

class CommandRegistry;
class QWidget;

// "Configure...": closes the link, shows "Communication Configuration", stores the settings on OK,
// and opens the link again in both cases.
void ConfigureCommunication(QWidget* parent);
// "Save Communication": writes the console text to a .txt file the operator chooses.
void SaveCommunication(QWidget* parent);
// Writes the console text to path; false when there is no console text or the file cannot be written.
bool SaveCommunicationTo(const QString& path);

// "Log to file...": asks for a file and logs the console to it, or stops the log that runs.
void ToggleConsoleLog(QWidget* parent);

// Binds "Re-Open", "Configure...", "Save Communication" and "Log to file...", and reopens the
// console log of the last run at start-up.
void BindCommCommands(CommandRegistry& registry, QWidget* parent);
