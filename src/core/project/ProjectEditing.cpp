#include "core/project/ProjectEditing.h"

#include "core/base/UiSeam.h"
#include "core/project/CPosDat.h"
#include "core/project/ProjectModel.h"
#include "core/protocol/Protocol.h"
#include "core/protocol/RobotExchange.h"
#include "core/robot/RobotUi.h"

#include <algorithm>
#include <cstring>

using namespace runlist;

namespace {

// Writes every word of an entry's header after its link and name index, so that no byte of it is
// left over from what the image held there before.
void WriteHeader(ProjectModel& m, int e, uint16_t kind, int mode, bool relative, int rows, int columns) {
    m.SetWord(e + kKind, kind);
    m.SetWord(e + kCount, 0);
    m.SetWord(e + kMode, static_cast<uint16_t>(mode));
    m.SetWord(e + kRelative, relative ? kRelativeFlag : 0);
    m.SetWord(e + kFixed, kFixedWord);
    m.SetByte(e + kRows, static_cast<uint8_t>(rows));
    m.SetByte(e + kColumns, static_cast<uint8_t>(columns));
}

// The controller made an entry the image could not take: it goes again.
void ForgetOnController(const std::string& name) {
    protocol().SendCommand("FORGET " + name);
}

} // namespace

void ProjectEdited(ProjectService::Changes what) {
    projectDocument().SetModifiedFlag();
    if (what)
        projectService().Announce(what);
}

bool EditRecord(PositionRecord& rec) {
    PositionRecord copy = rec;
    if (!robotUi().EditPosition(copy, "Edit data", copy.IsCartesian(), true))
        return false;
    rec.code = copy.code;
    std::copy(copy.values, copy.values + 6, rec.values);
    return true;
}

int AddPlace(const std::string& name, bool cartesian) {
    ProjectModel& m = projectModel();
    const int p = projectService().AllocateEntry(kPlaceParagraphs, name);
    if (p == kNoEntry)
        return kNoEntry;
    WriteHeader(m, p, kPlace, 0, false, 0, 0);
    PositionRecord position;
    position.code = cartesian ? poscode::kCartesian : poscode::kJoint;
    ReadPosition(position);
    m.SetRecord(p + kPlacePosition, position);
    PositionRecord approach;
    approach.code = static_cast<uint16_t>(position.code + 1);
    m.SetRecord(p + kPlaceApproach, approach);
    projectService().Announce(ProjectService::Image | ProjectService::Names);
    return p;
}

int AddRoute(const std::string& name, int lines, int mode, bool relative, int rows, int columns) {
    // Rows without columns make no grid: the route is a general one, as the controller makes it.
    if (columns == 0)
        rows = 0;
    Protocol& proto = protocol();
    if (!proto.SendCommand(mode ? "CARTESIAN" : "JOINT"))
        return kNoEntry;
    // No CR: the controller reads "SUB " and the declaration as one line.
    if (relative)
        proto.SendLine("SUB ");
    if (!proto.SendCommand("ROUTE " + name))
        return kNoEntry;
    if (!proto.SendCommand(std::to_string(lines) + " RESERVE")) {
        ForgetOnController(name);
        return kNoEntry;
    }
    ProjectModel& m = projectModel();
    const int r = projectService().AllocateEntry(lines + 1, name);
    if (r == kNoEntry) {
        ForgetOnController(name);
        return kNoEntry;
    }
    WriteHeader(m, r, kRoute, mode, relative, rows, columns);
    std::fill_n(m.RunList.begin() + m.LineOffset(r, 1), lines * kParagraph, uint8_t{0});
    const int count = std::min(rows != 0 ? rows * columns : columns, lines);
    PositionRecord blank;
    blank.code = static_cast<uint16_t>(mode * 2);
    for (int n = 1; n <= count; ++n)
        m.SetRecord(m.LineOffset(r, n), blank);
    m.SetWord(r + kCount, static_cast<uint16_t>(count));
    if (count > 0)
        projectDocument().DownloadData();
    ProjectEdited(ProjectService::Image | ProjectService::Names);
    return r;
}

int CopyRoute(int r, const std::string& newName) {
    ProjectModel& m = projectModel();
    Protocol& proto = protocol();
    const int capacity = m.RouteCapacity(r);
    if (!proto.SendCommand("DECIMAL ROUTE " + newName))
        return kNoEntry;
    if (!proto.SendCommand(std::to_string(capacity) + " RESERVE")) {
        ForgetOnController(newName);
        return kNoEntry;
    }
    if (m.OutOfSpace(capacity + 1)) {
        ui().ShowMessage("Insufficient space for run-list");
        ForgetOnController(newName);
        return kNoEntry;
    }
    // The entry is copied to the end of the list first and then made an entry over the copied bytes.
    std::memmove(&m.RunList[m.RunListEnd], &m.RunList[r], (capacity + 1) * kParagraph);
    const int copy = m.AllocateEntry(capacity + 1, newName);
    projectDocument().DownloadData();
    ProjectEdited(ProjectService::Image | ProjectService::Names);
    return copy;
}

bool ResizeRoute(int r, int lines) {
    ProjectModel& m = projectModel();
    const int newSize = (lines + 1) * kParagraph;
    if (m.RunListEnd + newSize - m.EntrySize(r) > kResizeLimit) {
        ui().ShowMessage("Insufficient space");
        return false;
    }
    if (lines < m.LineCount(r))
        return false;
    const int difference = lines - m.RouteCapacity(r);
    m.ResizeEntry(r, newSize);
    if (m.NextRoute(r) == kNoEntry) {
        // Only places follow: the controller moves them itself.
        std::ostream& stream = protocol().ControllerStream;
        stream.clear();
        stream << m.EntryName(r) + " " + std::to_string(difference) + " RESERVE\n";
        stream.clear();
    } else {
        projectService().CloseAllRouteEditors();
        projectDocument().DownloadData();
    }
    projectService().RefreshProjectViews();
    ProjectEdited(ProjectService::Image);
    return true;
}

void DeleteEntry(int e) {
    ProjectModel& m = projectModel();
    ProjectService& service = projectService();
    const size_t index = m.Word(e + kNameIndex);
    const std::string name = m.EntryName(e);
    if (index < m.EntryNames.size())
        m.EntryNames.erase(m.EntryNames.begin() + static_cast<std::ptrdiff_t>(index));
    if (m.NextEntry(e) == kNoEntry) {
        protocol().SendCommand("FORGET " + name);
        m.RunListEnd = e;
        m.SetWord(e, 0);
        if (m.ActiveRoute == e)
            service.SetActiveRoute(kNoEntry);
        ProjectEdited(ProjectService::Image | ProjectService::Names);
        return;
    }
    service.CloseAllRouteEditors();
    m.RemoveEntry(e);
    m.RenumberNames();
    projectDocument().DownloadData();
    projectDocument().DownloadText();
    service.RefreshProjectViews();
    ProjectEdited(ProjectService::Image | ProjectService::Names);
}

bool RenameEntry(int e) {
    if (ui().AskYesNo("The \"ed1\" and \"ed2\" files will be reloaded Do you wish to proceed?") !=
        Answer::Yes)
        return false;
    ProjectModel& m = projectModel();
    std::string name = m.EntryName(e);
    if (!ui().AskName(name, "Edit name"))
        return false;
    const size_t index = m.Word(e + kNameIndex);
    if (index < m.EntryNames.size())
        m.EntryNames[index] = name;
    ProjectEdited(ProjectService::Names);
    projectDocument().DownloadText();
    return true;
}
