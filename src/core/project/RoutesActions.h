#pragma once

#include <string>
#include <vector>

// What the routes window's buttons do; the window shows the dialogs the Parts give it, hands their
// values to these and redraws when the project service announces the change.

// The routes in list order (the window's lines; each line's text is the model's RouteSummary).
std::vector<int> RouteListEntries();

// "Insufficient space" when fewer than `paragraphs` paragraphs are free; true when there is room.
bool CheckFreeSpace(int paragraphs);

// What the "New Route" dialog starts with: the coordinates of the settings profile (0 joint,
// 1 Cartesian) and the reserve (the smaller of the free paragraphs and 20) with its range.
struct NewRoutePresets {
    int coordinates = 0;
    int reserve = 0;
    int lowest = 1;
    int highest = 0;
};
NewRoutePresets NewRoutePresetValues();

// The "New Route" dialog's answer; rows and columns are 0 where the layout does not use them.
struct NewRouteRequest {
    std::string name;
    int lines = 0;
    int mode = 0;
    bool relative = false;
    int rows = 0;
    int columns = 0;
};
// "New" after its dialog (the window shows the dialog only when CheckFreeSpace(1) lets it): the route
// is made and opened in the route editor. Returns it, or none.
int RoutesNew(const NewRouteRequest& request);
// "New generator" after its dialog (shown after CheckFreeSpace(1), as for "New"): a Cartesian route `name`
// and its generator route "_" + name, the generator opened in the route editor. An empty name, a name with a
// space or a name already taken is refused before anything is sent. Returns the generator route, or none.
int RoutesNewGenerator(const std::string& name, int routeReserve, int generatorReserve);
// "Copy": a name ("New route"), then the copy. "Insufficient space" unless the route's reserve is
// below the free paragraphs. Returns the copy, or none.
int RoutesCopy(int r);
// "Delete", after "Do you wish to delete route " + name; the route's editor is closed first.
bool RoutesDelete(int r);

// The "Adjust Size" dialog's value and range: the reserve, from the count up to the free paragraphs
// plus the reserve plus one.
struct ReserveRange {
    int value = 0;
    int lowest = 0;
    int highest = 0;
};
ReserveRange AdjustSizeRange(int r);
// "Adjust Size" with the dialog's count; refused outside the range.
bool RoutesAdjustSize(int r, int lines);
// "Edit Name"; the route's editor shows the new name.
bool RoutesEditName(int r);
// "Open route" (or a double click).
void RoutesOpen(int r);

enum class RoutesButton { Close, OpenRoute, New, NewGenerator, Copy, Delete, AdjustSize, EditName };
bool RoutesButtonEnabled(RoutesButton button, bool ready);
