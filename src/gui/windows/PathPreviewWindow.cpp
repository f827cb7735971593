#include "gui/windows/PathPreviewWindow.h"

#include "gui/windows/PathPreview.h"

#include <QVBoxLayout>

PathPreviewWindow::PathPreviewWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_preview(new PathPreview(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_preview);
    setWindowTitle(QStringLiteral("Path of route"));
}

void PathPreviewWindow::SetRoute(const std::string& name, std::vector<PositionRecord> lines, bool cartesian) {
    setWindowTitle(QStringLiteral("Path of route ") + QString::fromStdString(name));
    m_preview->SetLines(std::move(lines), cartesian);
}

void PathPreviewWindow::SetSelectedLine(int line) {
    m_preview->SetSelectedLine(line);
}
