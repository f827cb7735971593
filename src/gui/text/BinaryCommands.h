#pragma once

class CommandRegistry;
class QWidget;

// "&Load Binary": a file's bytes into a range of the controller's memory.
void LoadBinary(QWidget* parent);
// "Save &Binary": a range of the controller's memory into a file.
void SaveBinary(QWidget* parent);

// Binds both commands; they are enabled while the link is ready.
void BindBinaryCommands(CommandRegistry& registry, QWidget* parent);
