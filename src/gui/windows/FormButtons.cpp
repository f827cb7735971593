#include "gui/windows/FormButtons.h"

#include <QFontMetrics>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace formbuttons {

QSize DialogUnits(const QWidget* widget, int width, int height) {
    const QFontMetrics metrics(widget->font());
    return QSize(width * metrics.averageCharWidth() / 4, height * metrics.height() / 8);
}

QVBoxLayout* ButtonColumn(QWidget* parent,
                          const std::vector<std::pair<QPushButton**, const char*>>& buttons) {
    auto* column = new QVBoxLayout;
    for (const auto& [button, text] : buttons) {
        *button = new QPushButton(QString::fromLatin1(text), parent);
        (*button)->setAutoDefault(false);
        column->addWidget(*button);
    }
    column->addStretch();
    return column;
}

void CloseForm(QWidget* view) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(view->parentWidget()))
        frame->close();
    else
        view->close();
}

} // namespace formbuttons
