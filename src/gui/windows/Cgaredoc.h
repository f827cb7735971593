#pragma once

#include "core/project/RouteEditorRegistry.h"

#include <QObject>

// The document of a route editor: the route it edits. It enters itself in the project's editor
// registry under that route for as long as it is open, and passes what the project asks of an open
// editor on to its view as signals.
class Cgaredoc : public QObject, public RouteEditorView {
    Q_OBJECT
public:
    explicit Cgaredoc(int route, QObject* parent = nullptr);
    ~Cgaredoc() override;

    // The route's entry offset; runlist::kNoEntry once the document is closed.
    int route() const { return m_route; }
    bool IsOpen() const;

    void BringToTop() override { emit raiseRequested(); }
    // Leaves the registry at once (the route may be about to move or go), then asks the view to close.
    void CloseEditor() override;
    void UpdateViews() override { emit updated(); }
    void SetLineCount(int count) override { emit lineCountChanged(count); }

signals:
    void raiseRequested();
    void closeRequested();
    // The route changed as a whole: the list is rebuilt with no line selected.
    void updated();
    // The teach pad learned or dropped a line: the list is rebuilt selecting the new last line.
    void lineCountChanged(int count);

private:
    void Forget();

    int m_route;
};
