#pragma once

#include <string>

class QWidget;

// The file dialogs behind UiSeam::AskOpenFileName and UiSeam::AskSaveFileName. The filter has the form
// "Name (*.ext)|*.ext||"; an empty result means the operator cancelled.
std::string QtAskOpenFileName(QWidget* parent, const std::string& title, const std::string& filter,
                              const std::string& defaultExt, const std::string& startPath);
// Confirms before overwriting an existing file.
std::string QtAskSaveFileName(QWidget* parent, const std::string& title, const std::string& filter,
                              const std::string& defaultExt, const std::string& startPath);
