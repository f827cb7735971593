#pragma once

#include "core/protocol/PositionRecord.h"

#include <QWidget>

#include <string>
#include <vector>

class PathPreview;

// A window of its own around a route's path preview, titled "Path of route " + name. Whoever opens it
// hands it the route's lines again whenever the route or its selected line changes.
class PathPreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit PathPreviewWindow(QWidget* parent = nullptr);

    void SetRoute(const std::string& name, std::vector<PositionRecord> lines, bool cartesian);
    void SetSelectedLine(int line);
    PathPreview* preview() const { return m_preview; }

private:
    PathPreview* m_preview;
};
