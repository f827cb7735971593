#pragma once

// A child window that shows project data and redraws it from the project when told to.
class RefreshableView {
public:
    virtual ~RefreshableView() = default;
    virtual void Refresh() = 0;
};
