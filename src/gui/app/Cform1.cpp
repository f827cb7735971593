#include "gui/app/Cform1.h"

#include <QLayout>

Cform1::Cform1(QWidget* form, const QString& title, QWidget* parent)
    : QMdiSubWindow(parent, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                Qt::WindowCloseButtonHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(form);
    setWindowTitle(title);
    // A fixed size removes the resize grips of the border as well.
    FitToForm();
}

void Cform1::FitToForm() {
    if (layout())
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    setFixedSize(sizeHint());
}
