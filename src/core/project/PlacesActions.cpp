#include "core/project/PlacesActions.h"

#include "core/base/UiSeam.h"
#include "core/project/PositionColumns.h"
#include "core/project/ProjectEditing.h"
#include "core/project/ProjectModel.h"
#include "core/protocol/Protocol.h"
#include "core/protocol/RobotExchange.h"

using namespace runlist;

namespace {

int RecordOffset(const PlaceLine& line) {
    return line.place + (line.approach ? kPlaceApproach : kPlacePosition);
}

std::string NameOf(int place) {
    return projectModel().EntryName(place);
}

} // namespace

std::vector<PlaceLine> PlaceListLines() {
    const ProjectModel& m = projectModel();
    std::vector<PlaceLine> lines;
    for (int p = m.FirstPlace(); p != kNoEntry; p = m.NextPlace(p)) {
        lines.push_back({p, false});
        if (m.HasApproach(p))
            lines.push_back({p, true});
    }
    return lines;
}

PositionRecord PlaceLineRecord(const PlaceLine& line) {
    return projectModel().Record(RecordOffset(line));
}

std::vector<std::string> PlaceLineTexts(const PlaceLine& line) {
    const PositionRecord rec = PlaceLineRecord(line);
    std::vector<std::string> texts{line.approach ? "Approach" : "", NameOf(line.place),
                                   rec.IsCartesian() ? "C" : "J"};
    for (const std::string& value : PositionValueTexts(rec))
        texts.push_back(value);
    return texts;
}

bool PlacesButtonEnabled(PlacesButton button, bool ready, bool selection) {
    switch (button) {
    case PlacesButton::Close:
    case PlacesButton::ShowData:
        return true;
    case PlacesButton::AddNew:
        return ready;
    default:
        return ready && selection;
    }
}

bool PlacesGoTo(const PlaceLine& line) {
    const std::string name = NameOf(line.place);
    return protocol().SendCommand(line.approach ? "'NEAR " + name + " GOTO" : name);
}

void PlacesSetToHere(const PlaceLine& line) {
    if (line.approach) {
        PlacesSetApproach(line.place);
        return;
    }
    ProjectModel& m = projectModel();
    // The position is read whatever the controller answered.
    protocol().SendCommand("PLEARN " + NameOf(line.place));
    PositionRecord position = m.Record(line.place + kPlacePosition);
    ReadPosition(position);
    m.SetRecord(line.place + kPlacePosition, position);
    ProjectEdited(ProjectService::Image);
}

void PlacesSetApproach(int place) {
    ProjectModel& m = projectModel();
    protocol().SendCommand("APPROACH " + NameOf(place));
    PositionRecord approach = m.Record(place + kPlaceApproach);
    ReadPosition(approach);
    SubtractRecord(approach, m.Record(place + kPlacePosition));
    m.SetRecord(place + kPlaceApproach, approach);
    ProjectEdited(ProjectService::Image);
}

int PlacesAddNew() {
    if (projectModel().FreeParagraphs() < 2) {
        ui().ShowMessage("Insufficient space");
        return kNoEntry;
    }
    std::string name;
    if (!ui().AskName(name, "New place"))
        return kNoEntry;
    int mode = 0;
    if (!QueryNumber("CARTMODE C@ .", mode))
        return kNoEntry;
    const int place = AddPlace(name, mode != 0);
    if (place == kNoEntry)
        return kNoEntry;
    protocol().SendCommand("PLACE " + name);
    ProjectEdited(ProjectService::Image | ProjectService::Names);
    return place;
}

bool PlacesEditName(int place) {
    return RenameEntry(place);
}

bool PlacesEditData(const PlaceLine& line) {
    ProjectModel& m = projectModel();
    PositionRecord rec = PlaceLineRecord(line);
    if (!EditRecord(rec))
        return false;
    m.SetRecord(RecordOffset(line), rec);
    LoadPlace(rec.values, "' " + NameOf(line.place) + " @ " + (line.approach ? "32 +" : "16 +"));
    ProjectEdited(ProjectService::Image);
    return true;
}

bool PlacesDelete(int place) {
    if (ui().AskYesNo("Do you wish to delete place " + NameOf(place)) != Answer::Yes)
        return false;
    DeleteEntry(place);
    return true;
}
