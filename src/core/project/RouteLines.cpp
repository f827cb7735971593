#include "core/project/RouteLines.h"

#include "core/base/UiSeam.h"
#include "core/project/ContourLine.h"
#include "core/project/ProjectEditing.h"
#include "core/project/ProjectModel.h"
#include "core/project/ProjectService.h"
#include "core/protocol/Protocol.h"
#include "core/protocol/RobotExchange.h"

#include <cstdio>
#include <cstring>

using namespace runlist;

namespace {

// The address a failed FIND leaves in a function line.
constexpr int kUnfoundWord = 345;

ProjectModel& Model() {
    return projectModel();
}

bool Send(const std::string& command) {
    return protocol().SendCommand(command);
}

// "name n": a route line as the controller's words name it.
std::string LineName(int r, int n) {
    return Model().EntryName(r) + " " + std::to_string(n);
}

void SetCount(int r, int count) {
    Model().SetWord(r + kCount, static_cast<uint16_t>(count));
}

// Lines `from` to `to` move to `from + shift` (one line up or down).
void MoveLines(int r, int from, int to, int shift) {
    if (to < from)
        return;
    ProjectModel& m = Model();
    std::memmove(&m.RunList[m.LineOffset(r, from + shift)], &m.RunList[m.LineOffset(r, from)],
                 (to - from + 1) * kParagraph);
}

// A slot can be added at line n: the route has room and n is at most one past its count.
bool CanAddLine(int r, int n) {
    return !Model().RouteIsFull(r) && n >= 1 && n <= Model().LineCount(r) + 1;
}

// The active route, when it is a route of the list.
int ActiveRouteEntry() {
    const int r = Model().ActiveRoute;
    return r != kNoEntry && Model().EntryKind(r) == kRoute ? r : kNoEntry;
}

} // namespace

bool OpenLineSlot(int r, int n) {
    if (!CanAddLine(r, n))
        return false;
    const int count = Model().LineCount(r);
    if (n > count)
        return Send(Model().EntryName(r) + " LEARN");
    if (!Send(LineName(r, n) + " INSERT"))
        return false;
    MoveLines(r, n, count, 1);
    return true;
}

void StoreLearnedLine(int r, int n) {
    ProjectModel& m = Model();
    PositionRecord line = m.Line(r, n);
    line.code = static_cast<uint16_t>(m.RouteMode(r) * 2);
    line.zero = 0;
    ReadPosition(line);
    m.SetRecord(m.LineOffset(r, n), line);
    SetCount(r, m.LineCount(r) + 1);
    ProjectEdited(ProjectService::Image);
}

bool InsertLearnedLine(int r, int n) {
    if (!OpenLineSlot(r, n))
        return false;
    StoreLearnedLine(r, n);
    return true;
}

bool AppendApproachLine(int r) {
    ProjectModel& m = Model();
    if (m.RouteIsFull(r))
        return false;
    const int n = m.LineCount(r) + 1;
    SetCount(r, n);
    // The reply does not matter: the line is taken whatever the controller said.
    Send(m.EntryName(r) + " RLEARN 31 MSP !");
    PositionRecord line = m.Line(r, n);
    line.code = static_cast<uint16_t>(m.RouteMode(r) * 2 + 1);
    line.zero = 0;
    ReadPosition(line);
    m.SetRecord(m.LineOffset(r, n), line);
    Send("0 MSP !");
    ProjectEdited(ProjectService::Image);
    return true;
}

bool DeleteLine(int r, int n) {
    const int count = Model().LineCount(r);
    if (n < 1 || n > count || !Send(LineName(r, n) + " DELETE"))
        return false;
    MoveLines(r, n + 1, count, -1);
    SetCount(r, count - 1);
    ProjectEdited(ProjectService::Image);
    return true;
}

void AppendLearnedLine() {
    const int r = ActiveRouteEntry();
    if (r == kNoEntry || Model().RouteIsFull(r))
        return;
    StoreLearnedLine(r, Model().LineCount(r) + 1);
    projectService().NotifyRouteEditor(Model().LineCount(r));
}

void DropLastLine() {
    const int r = ActiveRouteEntry();
    if (r == kNoEntry || Model().LineCount(r) == 0)
        return;
    SetCount(r, Model().LineCount(r) - 1);
    projectService().NotifyRouteEditor(Model().LineCount(r));
    ProjectEdited(ProjectService::Image);
}

bool SendLineValues(int r, const PositionRecord& line, int n) {
    return LoadPlace(line.values, LineName(r, n) + " LINE");
}

std::string LineCodeText(std::uint16_t code, const std::string& name, int n) {
    char text[128];
    std::snprintf(text, sizeof text, "%d %s %d LINE 12 + E!", static_cast<std::int16_t>(code), name.c_str(),
                  n);
    return text;
}

bool SendLineCode(int r, std::uint16_t code, int n) {
    return Send(LineCodeText(code, Model().EntryName(r), n));
}

std::string FunctionCallText(const std::string& word, int parameter) {
    return word + " " + std::to_string(parameter) + " PURGE";
}

void SetFunctionLine(int r, int n, const std::string& word, int parameter) {
    int address = kUnfoundWord;
    QueryNumber("FIND " + word + " .", address);
    ProjectModel& m = Model();
    PositionRecord line = m.Line(r, n);
    line.code = static_cast<uint16_t>(address);
    line.values[0] = static_cast<int16_t>(parameter);
    m.SetRecord(m.LineOffset(r, n), line);
    ProjectEdited(ProjectService::Image);
}

bool InsertFunctionLine(int r, int n) {
    std::string word;
    int parameter = 0;
    if (!CanAddLine(r, n) || !ui().AskRouteFunction(word, parameter) || word.empty())
        return false;
    const std::string call = FunctionCallText(word, parameter);
    const int count = Model().LineCount(r);
    if (n <= count) {
        if (!Send(LineName(r, n) + " 'INSERT " + call))
            return false;
        MoveLines(r, n, count, 1);
    } else if (!Send(Model().EntryName(r) + " 'LEARN " + call)) {
        return false;
    }
    SetCount(r, count + 1);
    SetFunctionLine(r, n, word, parameter);
    return true;
}

bool EditFunctionLine(int r, int n) {
    const PositionRecord line = Model().Line(r, n);
    std::string word = WordName(line);
    int parameter = line.values[0];
    if (!ui().AskRouteFunction(word, parameter) || word.empty())
        return false;
    if (!Send(LineName(r, n) + " 'REPLACE " + FunctionCallText(word, parameter)))
        return false;
    SetFunctionLine(r, n, word, parameter);
    return true;
}

namespace {

// Stores contour function `code` with parameters a and b in line n and sends the line; the replies
// change nothing of what the image holds.
void StoreContourLine(int r, int n, int code, double a, double b) {
    ProjectModel& m = Model();
    PositionRecord line = m.Line(r, n);
    SetContourLine(line, code, a, b);
    line.zero = 0;
    m.SetRecord(m.LineOffset(r, n), line);
    SendLineValues(r, line, n);
    SendLineCode(r, line.code, n);
    ProjectEdited(ProjectService::Image);
}

} // namespace

bool InsertContourLine(int r, int n) {
    int code = 0;
    double a = 0, b = 0;
    if (!CanAddLine(r, n) || !ui().AskContourFunction(code, a, b))
        return false;
    if (!OpenLineSlot(r, n))
        return false;
    SetCount(r, Model().LineCount(r) + 1);
    StoreContourLine(r, n, code, a, b);
    return true;
}

bool EditContourLine(int r, int n) {
    const PositionRecord line = Model().Line(r, n);
    int code = line.code - poscode::kContourBase;
    double a = ContourParameter(line.values[0]), b = ContourParameter(line.values[1]);
    if (!ui().AskContourFunction(code, a, b))
        return false;
    StoreContourLine(r, n, code, a, b);
    return true;
}

std::string WordName(const PositionRecord& line) {
    return projectService().WordName(line.code);
}
