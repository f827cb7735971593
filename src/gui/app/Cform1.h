#pragma once

#include <QMdiSubWindow>

// The frame of the form windows (places, routes, route editors): no resizable border, no maximise
// button and no document name in the title, so the window keeps the size of its form and the title
// its window kind or its view gives it.
class Cform1 : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit Cform1(QWidget* form, const QString& title, QWidget* parent = nullptr);

    // The form changed its size (rows or columns added): the frame follows it.
    void FitToForm();
};
