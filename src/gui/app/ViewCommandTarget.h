#pragma once

// A window that handles some menu commands itself while it is the active window: the File items
// "&Close", "&Save", "Save &As...", "&Download Current", "&Print", the Edit items other than
// "&Validate", "&Font..." and the toolbar's "&Save". The main window routes those ids to the active
// window's view when the view implements this interface; with no such view they stay grey.
class ViewCommandTarget {
public:
    virtual ~ViewCommandTarget() = default;
    // True when this window has the command at all.
    virtual bool HandlesCommand(int id) const = 0;
    virtual bool CommandEnabled(int id) const {
        (void)id;
        return true;
    }
    virtual void RunCommand(int id) = 0;
};
