#include "MirrorFuzz.h"

#include "core/app/CoreWiring.h"
#include "core/base/ProfileStore.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/link/SerialPort.h"
#include "core/project/CPosDat.h"
#include "core/project/PlacesActions.h"
#include "core/project/ProjectModel.h"
#include "core/project/RouteEditorActions.h"
#include "core/project/RoutesActions.h"
#include "core/protocol/Protocol.h"
#include "core/robot/TeachPad.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

#include <algorithm>
#include <sstream>

using namespace runlist;

namespace {

constexpr int kWatchdogMs = 10000;
constexpr int kMaxEntries = 30;
// Controller words a function line may call, and one the controller does not know.
const char* const kWords[] = {"GRIP", "UNGRIP", "HOME", "DUP", "SMOOTH", "SEGMENTED"};
const char* const kUnknownWord = "NOSUCH";
const char* const kGeneratorReports[] = {"Route ", "SDP without its three points"};

QByteArray MaskedImage() {
    const ProjectModel& m = projectModel();
    QByteArray bytes(reinterpret_cast<const char*>(m.RunList.data()), m.RunListEnd + 2);
    for (int e = m.FirstEntry(); e != kNoEntry; e = m.NextEntry(e)) {
        bytes[e + kNameIndex] = 0;
        bytes[e + kNameIndex + 1] = 0;
    }
    return bytes;
}

std::string Row(const QByteArray& bytes, int offset) {
    return bytes.mid(offset & ~15, 16).toHex(' ').toStdString();
}

// Pumps events until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& condition, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

bool Ready() {
    return LinkReady();
}

} // namespace

MirrorFuzz::MirrorFuzz(unsigned seed) : m_seed(seed), m_random(seed) {}

MirrorFuzz::~MirrorFuzz() {
    m_watchdog.stop();
    commLink().CloseComm();
    ResetCore();
    m_port.reset();
    InstallScreen({});
    UseProfileFile(std::string());
    m_emulator.reset();
}

bool MirrorFuzz::Start(std::string& error) {
    if (!m_dir.isValid()) {
        error = "no temporary folder";
        return false;
    }
    ResetCore();
    InstallScreen({&m_ui, &m_robot});
    UseProfileFile(m_dir.filePath(QStringLiteral("profile.ini")).toStdString());
    m_port = std::make_unique<SerialPort>();
    commLink().SetTransport(m_port.get());
    m_watchdog.setSingleShot(true);
    m_watchdog.setInterval(kWatchdogMs);
    QObject::connect(&m_watchdog, &QTimer::timeout, [this] {
        ++m_watchdogFired;
        protocol().WaitBoxClosed();
    });
    m_emulator = std::make_unique<EmulatorProcess>(m_dir.path());
    if (!m_emulator->isRunning()) {
        error = "cannot start " + EmulatorProcess::Program().toStdString();
        return false;
    }
    WriteProfileString("Communication", "device", m_emulator->linkPath().toStdString());
    commLink().OpenCommunication();
    if (protocol().ReplyState == reply::kNotOpen) {
        error = "the link to the emulator did not open";
        return false;
    }
    m_ui.projectPath = m_dir.filePath(QStringLiteral("mirror.run")).toStdString();
    if (!projectDocument().NewFileDocument() || !m_ui.messages.empty()) {
        error = "no new project";
        return false;
    }
    DefineOperations();
    return true;
}

bool MirrorFuzz::Run(int count, std::string& failure, std::ostream* log) {
    for (int i = 0; i < count; ++i) {
        std::string text, problem;
        const bool ok = RunOne(text, problem);
        ++m_run;
        if (log)
            *log << m_run << ": " << text << "\n";
        if (!ok) {
            std::ostringstream out;
            out << "seed " << m_seed << ", operation " << m_run << " (" << text << "): " << problem
                << "\nthe controller's last command lines:";
            QStringList history;
            m_emulator->Control(QStringLiteral("history 8"), &history);
            for (const QString& line : history)
                out << "\n  " << line.toStdString();
            failure = out.str();
            return false;
        }
    }
    return true;
}

bool MirrorFuzz::RunOne(std::string& text, std::string& problem) {
    if (Chance(30))
        MoveArm();
    m_allowedMessages.clear();
    m_ui.names.clear();
    m_ui.functions.clear();
    m_ui.contours.clear();
    m_robot.edits.clear();
    m_robot.passes.clear();
    m_ui.answer = Answer::Yes;
    const size_t messagesBefore = m_ui.messages.size();
    const int timeouts = m_robot.timedOut;
    m_watchdog.start();

    int total = 0;
    for (const Operation& op : m_operations)
        total += op.weight;
    for (int attempt = 0;; ++attempt) {
        int pick = Uniform(1, total);
        auto op = m_operations.begin();
        while ((pick -= op->weight) > 0)
            ++op;
        if (op->run(text)) {
            ++m_kinds[op->kind];
            text = std::string(op->kind) + (text.empty() ? "" : " " + text);
            break;
        }
        if (attempt > 10000) {
            problem = "no operation applies";
            return false;
        }
    }
    m_watchdog.stop();

    if (!PumpUntil(Ready, 2000))
        problem = "the link is not idle afterwards";
    else if (m_watchdogFired != 0)
        problem = "a wait outlasted " + std::to_string(kWatchdogMs) + " ms and was cancelled";
    else if (m_robot.timedOut != timeouts)
        problem = "a teach window was not closed by the pad";
    for (size_t i = messagesBefore; problem.empty() && i < m_ui.messages.size(); ++i) {
        const std::string& message = m_ui.messages[i];
        const bool allowed =
            std::any_of(m_allowedMessages.begin(), m_allowedMessages.end(),
                        [&](const std::string& prefix) { return message.rfind(prefix, 0) == 0; });
        if (!allowed)
            problem = "unexpected message \"" + message + "\"";
    }
    if (problem.empty() && projectModel().EntryCount() != static_cast<int>(projectModel().EntryNames.size()))
        problem = "the image has " + std::to_string(projectModel().EntryCount()) + " entries but " +
                  std::to_string(projectModel().EntryNames.size()) + " names";
    if (problem.empty())
        problem = Compare();
    return problem.empty();
}

std::string MirrorFuzz::Compare() {
    QStringList lines;
    if (!m_emulator->Control(QStringLiteral("runlist masked"), &lines) || lines.isEmpty())
        return "the emulator gave no run-list";
    const QStringList parts = lines.first().split(' ');
    const int next = parts.value(0).toInt();
    const QByteArray controller = QByteArray::fromHex(parts.value(1).toLatin1());
    const QByteArray image = MaskedImage();
    if (controller == image)
        return std::string();
    const int common = static_cast<int>(std::min(controller.size(), image.size()));
    int offset = 0;
    while (offset < common && controller[offset] == image[offset])
        ++offset;
    std::ostringstream out;
    out << "first difference at offset " << offset << " (controller NEXT " << next << ", image end "
        << projectModel().RunListEnd << ")\n  controller: " << Row(controller, offset)
        << "\n  image:      " << Row(image, offset);
    return out.str();
}

void MirrorFuzz::MoveArm() {
    // Now and then far out, where sums and differences wrap round in 16 bits.
    const int reach = Chance(10) ? 32767 : 2000;
    QString command = QStringLiteral("set joints");
    for (int i = 0; i < 6; ++i)
        command += ' ' + QString::number(Uniform(-reach, reach));
    m_emulator->Control(command);
}

int MirrorFuzz::Uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

std::string MirrorFuzz::NewName(const char* prefix) {
    return prefix + std::to_string(++m_nameCounter);
}

int MirrorFuzz::AnyEntry() {
    const ProjectModel& m = projectModel();
    std::vector<int> entries;
    for (int e = m.FirstEntry(); e != kNoEntry; e = m.NextEntry(e))
        entries.push_back(e);
    if (entries.empty())
        return kNoEntry;
    // While a very large entry fills the list, it is the one most often deleted.
    if (m.RunListEnd > 40000 && Chance(50))
        return *std::max_element(entries.begin(), entries.end(),
                                 [&](int a, int b) { return m.EntrySize(a) < m.EntrySize(b); });
    return entries[static_cast<size_t>(Uniform(0, int(entries.size()) - 1))];
}

int MirrorFuzz::AnyRoute(const std::function<bool(int)>& accept) {
    std::vector<int> routes;
    for (int r : RouteListEntries())
        if (!accept || accept(r))
            routes.push_back(r);
    return routes.empty() ? kNoEntry : routes[static_cast<size_t>(Uniform(0, int(routes.size()) - 1))];
}

int MirrorFuzz::AnyPlace() {
    const ProjectModel& m = projectModel();
    std::vector<int> places;
    for (int p = m.FirstPlace(); p != kNoEntry; p = m.NextPlace(p))
        places.push_back(p);
    return places.empty() ? kNoEntry : places[static_cast<size_t>(Uniform(0, int(places.size()) - 1))];
}

void MirrorFuzz::QueueRecordEdit(int low, int high) {
    if (Chance(10)) {
        low = -32768;
        high = 32767;
    }
    std::int16_t values[6];
    for (std::int16_t& v : values)
        v = static_cast<std::int16_t>(Uniform(low, high));
    m_robot.edits.push_back([values](PositionRecord& rec) { std::copy(values, values + 6, rec.values); });
}

void MirrorFuzz::QueueRouteFunction(bool allowUnknown) {
    std::string word = kWords[Uniform(0, int(std::size(kWords)) - 1)];
    if (allowUnknown && Chance(10)) {
        word = kUnknownWord;
        m_allowedMessages.push_back("OK expected");
    }
    m_ui.functions.push_back({word, Uniform(-500, 500)});
}

void MirrorFuzz::QueueContour() {
    const int code = Uniform(0, 3);
    const double a = Uniform(0, 2000) / 10.0;
    const double b = Uniform(-900, 2700) / 10.0;
    m_ui.contours.push_back({code, code == 3 ? a / 4 : a, b});
}

bool MirrorFuzz::NewRoute(std::string& text, bool large) {
    if (projectModel().EntryCount() >= kMaxEntries || (large && projectModel().RunListEnd > 20000))
        return false;
    m_allowedMessages.push_back("Insufficient space");
    if (!CheckFreeSpace(1))
        return true;
    const NewRoutePresets presets = NewRoutePresetValues();
    NewRouteRequest request;
    request.name = NewName("R");
    request.mode = Uniform(0, 1);
    request.relative = Chance(30);
    const int layout = large ? 0 : Uniform(0, 3);
    if (layout >= 2) {
        request.columns = Uniform(2, 5);
        request.rows = layout == 3 ? Uniform(2, 4) : 0;
    }
    const int needed = request.rows != 0 ? request.rows * request.columns : request.columns;
    const int lowest = std::max(presets.lowest, needed);
    if (lowest > presets.highest)
        return false;
    request.lines =
        large ? presets.highest - Uniform(0, 2) : Uniform(lowest, std::min(presets.highest, lowest + 12));
    text = request.name + (request.mode ? " Cartesian" : " joint") + (request.relative ? " relative" : "") +
           " rows " + std::to_string(request.rows) + " columns " + std::to_string(request.columns) +
           " lines " + std::to_string(request.lines);
    RoutesNew(request);
    return true;
}

bool MirrorFuzz::PressEditorButton(std::string& text, EditorButton which) {
    const int r = AnyRoute();
    if (r == kNoEntry)
        return false;
    ProjectModel& m = projectModel();
    const int s = Uniform(0, m.LineCount(r));
    if (!EditorButtonEnabled(which, RouteFactsOf(r, s, LinkReady())))
        return false;
    text = m.EntryName(r) + " line " + std::to_string(s);
    const bool hidden = m.IsHidden(r);
    switch (which) {
    case EditorButton::GoTo:
        EditorGoTo(r, s);
        break;
    case EditorButton::GoNear:
        EditorGoNear(r, s);
        break;
    case EditorButton::SetToHere:
        EditorSetToHere(r, s);
        break;
    case EditorButton::InsertPosition:
        EditorInsertPosition(r, s);
        break;
    case EditorButton::AppendPosition:
        EditorAppendPosition(r);
        break;
    case EditorButton::InsertFunction:
    case EditorButton::AppendFunction:
        if (hidden)
            QueueContour();
        else
            QueueRouteFunction(true);
        if (which == EditorButton::InsertFunction)
            EditorInsertFunction(r, s);
        else
            EditorAppendFunction(r);
        break;
    case EditorButton::Delete:
        m_ui.answer = Chance(90) ? Answer::Yes : Answer::No;
        EditorDelete(r, s);
        break;
    case EditorButton::EditLine:
        if (IsPositionCode(m.Line(r, s).code))
            QueueRecordEdit(-3000, 3000);
        else if (hidden)
            QueueContour();
        else
            QueueRouteFunction(true);
        // A copied or renamed generator route keeps contour codes that name no controller word.
        if (RouteLineTexts(r, s)[1] == "error")
            m_allowedMessages.push_back("OK expected");
        EditorEditLine(r, s);
        break;
    case EditorButton::AddToAll:
        QueueRecordEdit(-40, 40);
        EditorAddToAll(r, s);
        break;
    case EditorButton::SetApproach:
        EditorSetApproach(r);
        break;
    case EditorButton::Interpolate:
        EditorInterpolate(r);
        break;
    case EditorButton::InterpolateCorners:
        EditorInterpolateCorners(r);
        break;
    case EditorButton::Run:
        for (const char* report : kGeneratorReports)
            m_allowedMessages.push_back(report);
        EditorRun(r, s);
        break;
    case EditorButton::Close:
        return false;
    }
    return true;
}

bool MirrorFuzz::Teach(std::string& text, bool learn) {
    // Now and then a route with no room for the learned line, or none to drop.
    int r = kNoEntry;
    if (Chance(25))
        r = AnyRoute([learn](int route) {
            return learn ? projectModel().RouteIsFull(route) : projectModel().LineCount(route) == 0;
        });
    if (r == kNoEntry)
        r = AnyRoute();
    if (r == kNoEntry)
        return false;
    text = projectModel().EntryName(r) + " (" + std::to_string(projectModel().LineCount(r)) + " lines)";
    // The route's editor becomes active: its name goes to the controller, whose reply is awaited
    // before the next command as the operator's next click would be.
    const bool named = projectModel().ActiveRoute != r;
    const int replies = m_ui.replies;
    ActivateRouteEditor(r);
    if (named)
        PumpUntil([&] { return m_ui.replies > replies; }, 2000);
    m_robot.passes.push_back({[this, learn] {
                                  m_emulator->Control(learn ? QStringLiteral("signal learn")
                                                            : QStringLiteral("signal drop"));
                              },
                              -1, RobotUi::ManualResult::Escape});
    m_robot.passes.push_back({{}, 0, RobotUi::ManualResult::Escape});
    teachPad().RunTeach();
    return true;
}

void MirrorFuzz::DefineOperations() {
    auto placeLine = [this](PlaceLine& line) {
        const std::vector<PlaceLine> lines = PlaceListLines();
        if (lines.empty())
            return false;
        line = lines[static_cast<size_t>(Uniform(0, int(lines.size()) - 1))];
        return true;
    };
    auto describe = [](const PlaceLine& line) {
        return projectModel().EntryName(line.place) + (line.approach ? " approach" : "");
    };
    auto editor = [this](EditorButton button) {
        return [this, button](std::string& text) { return PressEditorButton(text, button); };
    };
    m_operations = {
        {"add place", 8,
         [this](std::string& text) {
             if (projectModel().EntryCount() >= kMaxEntries)
                 return false;
             text = NewName("P");
             m_ui.names.push_back(text);
             m_allowedMessages.push_back("Insufficient space");
             PlacesAddNew();
             return true;
         }},
        {"place set to here", 4,
         [=](std::string& text) {
             PlaceLine line;
             if (!placeLine(line))
                 return false;
             text = describe(line);
             PlacesSetToHere(line);
             return true;
         }},
        {"place set approach", 3,
         [this](std::string& text) {
             const int p = AnyPlace();
             if (p == kNoEntry)
                 return false;
             text = projectModel().EntryName(p);
             PlacesSetApproach(p);
             return true;
         }},
        {"place edit data", 3,
         [=](std::string& text) {
             PlaceLine line;
             if (!placeLine(line))
                 return false;
             text = describe(line);
             QueueRecordEdit(-3000, 3000);
             PlacesEditData(line);
             return true;
         }},
        {"place go to", 2,
         [=](std::string& text) {
             PlaceLine line;
             if (!placeLine(line))
                 return false;
             text = describe(line);
             PlacesGoTo(line);
             return true;
         }},
        {"delete entry", 5,
         [this](std::string& text) {
             const int e = AnyEntry();
             if (e == kNoEntry)
                 return false;
             const ProjectModel& m = projectModel();
             text = m.EntryName(e) + (e == m.FirstEntry()          ? " (first)"
                                      : m.NextEntry(e) == kNoEntry ? " (last)"
                                                                   : "");
             m_ui.answer = Chance(90) ? Answer::Yes : Answer::No;
             if (m.EntryKind(e) == kPlace)
                 PlacesDelete(e);
             else
                 RoutesDelete(e);
             return true;
         }},
        {"rename", 2,
         [this](std::string& text) {
             const int e = AnyEntry();
             if (e == kNoEntry)
                 return false;
             const ProjectModel& m = projectModel();
             const std::string name = (m.IsHidden(e) ? "_" : "") + NewName("N");
             text = m.EntryName(e) + " to " + name;
             m_ui.names.push_back(name);
             m_ui.answer = Chance(90) ? Answer::Yes : Answer::No;
             if (m.EntryKind(e) == kPlace)
                 PlacesEditName(e);
             else
                 RoutesEditName(e);
             return true;
         }},
        {"new route", 6, [this](std::string& text) { return NewRoute(text, false); }},
        {"new large route", 1, [this](std::string& text) { return NewRoute(text, true); }},
        {"new generator", 2,
         [this](std::string& text) {
             if (projectModel().EntryCount() >= kMaxEntries - 1)
                 return false;
             for (const char* message : {"Insufficient space", "OK expected"})
                 m_allowedMessages.push_back(message);
             if (!CheckFreeSpace(1))
                 return true;
             text = NewName("G");
             RoutesNewGenerator(text, Uniform(3, 40), Uniform(4, 16));
             return true;
         }},
        {"copy route", 3,
         [this](std::string& text) {
             const int r = AnyRoute();
             if (r == kNoEntry || projectModel().EntryCount() >= kMaxEntries)
                 return false;
             const std::string name = NewName("C");
             text = projectModel().EntryName(r) + " to " + name;
             m_ui.names.push_back(name);
             m_allowedMessages.push_back("Insufficient space");
             RoutesCopy(r);
             return true;
         }},
        {"adjust size", 4,
         [this](std::string& text) {
             // The last route is resized on the controller itself: half the time it is the one.
             const std::vector<int> routes = RouteListEntries();
             const int r = Chance(50) && !routes.empty() ? routes.back() : AnyRoute();
             if (r == kNoEntry)
                 return false;
             const ReserveRange range = AdjustSizeRange(r);
             if (range.highest < range.lowest)
                 return false;
             const int lines = Uniform(range.lowest, std::min(range.highest, range.value + 10));
             text = projectModel().EntryName(r) + " from " + std::to_string(range.value) + " to " +
                    std::to_string(lines) + (projectModel().NextRoute(r) == kNoEntry ? " (last route)" : "");
             m_allowedMessages.push_back("Insufficient space");
             RoutesAdjustSize(r, lines);
             return true;
         }},
        {"insert position", 8, editor(EditorButton::InsertPosition)},
        {"append position", 8, editor(EditorButton::AppendPosition)},
        {"insert function", 5, editor(EditorButton::InsertFunction)},
        {"append function", 5, editor(EditorButton::AppendFunction)},
        {"delete line", 6, editor(EditorButton::Delete)},
        {"edit line", 5, editor(EditorButton::EditLine)},
        {"add to all", 2, editor(EditorButton::AddToAll)},
        {"set approach line", 3, editor(EditorButton::SetApproach)},
        {"interpolate", 2, editor(EditorButton::Interpolate)},
        {"interpolate corners", 2, editor(EditorButton::InterpolateCorners)},
        {"run", 3, editor(EditorButton::Run)},
        {"set line to here", 3, editor(EditorButton::SetToHere)},
        {"go to line", 1, editor(EditorButton::GoTo)},
        {"go near line", 1, editor(EditorButton::GoNear)},
        {"teach learn", 4, [this](std::string& text) { return Teach(text, true); }},
        {"teach drop", 2, [this](std::string& text) { return Teach(text, false); }},
    };
}
