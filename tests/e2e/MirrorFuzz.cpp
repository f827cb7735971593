#include "MirrorFuzz.h"

#include "EmulatorProcess.h"
#include "LoopRobotUi.h"

#include "core/app/CoreWiring.h"
#include "core/app/EventLoopUi.h"
#include "core/base/ProfileStore.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/link/SerialPort.h"
#include "core/project/CPosDat.h"
#include "core/project/PlacesActions.h"
#include "core/project/RouteEditorActions.h"
#include "core/project/RoutesActions.h"
#include "core/protocol/Protocol.h"
#include "core/robot/TeachPad.h"
#include "support/ScriptedUi.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <vector>

using namespace runlist;

namespace {

constexpr int kWatchdogMs = 10000;
constexpr int kMaxEntries = 30;
// Controller words a function line may call; NOSUCH is one the controller does not know.
const char* const kWords[] = {"GRIP", "UNGRIP", "HOME", "DUP", "SMOOTH", "SEGMENTED"};

// The event loop pumped as the program does, scripted dialogs, the project's path for the file dialog.
class MirrorUi : public EventLoopUi, public DialogAnswers {
public:
    bool AskName(std::string& name, const std::string& title) override { return AnswerName(name, title); }
    bool AskRouteFunction(std::string& word, int& parameter) override {
        return AnswerFunction(word, parameter);
    }
    bool AskContourFunction(int& code, double& a, double& b) override { return AnswerContour(code, a, b); }
    std::string AskSaveFileName(const std::string&, const std::string&, const std::string&,
                                const std::string&) override {
        return projectPath;
    }
    void KickIdle() override { ++replies; }

    std::string projectPath;
    int replies = 0; // replies completed (each one kicks the command states)
};

QByteArray MaskedImage() {
    const ProjectModel& m = projectModel();
    QByteArray bytes(reinterpret_cast<const char*>(m.RunList.data()), m.RunListEnd + 2);
    for (int e = m.FirstEntry(); e != kNoEntry; e = m.NextEntry(e))
        bytes[e + kNameIndex] = bytes[e + kNameIndex + 1] = 0;
    return bytes;
}

class Mirror {
public:
    explicit Mirror(unsigned seed) : m_seed(seed), m_random(seed) {}
    ~Mirror();
    std::string Start();
    bool Step(MirrorRun& run, std::ostream* log);

private:
    struct Operation {
        const char* kind;
        int weight;
        std::function<bool(std::string& text)> run; // false: it does not apply now, nothing was done
    };

    void DefineOperations();
    std::string Check(size_t messagesBefore, int timeouts);
    std::string Compare();
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool Chance(int percent) { return Uniform(1, 100) <= percent; }
    template <typename T> T Any(const std::vector<T>& items, T none) {
        return items.empty() ? none : items[static_cast<size_t>(Uniform(0, int(items.size()) - 1))];
    }
    std::string NewName(const char* prefix) { return prefix + std::to_string(++m_names); }
    void Allow(const char* prefix) { m_allowed.push_back(prefix); }
    bool Full() const { return projectModel().EntryCount() >= kMaxEntries; }
    int AnyEntry();
    int AnyRoute(const std::function<bool(int)>& accept = {});
    void MoveArm();
    void QueueRecordEdit(int low, int high);
    void QueueFunction();
    void QueueContour();
    bool NewRoute(std::string& text, bool large);
    bool PressEditorButton(std::string& text, EditorButton button);
    bool Teach(std::string& text, bool learn);
    bool Generate(std::string& text);

    unsigned m_seed;
    std::mt19937 m_random;
    QTemporaryDir m_dir;
    MirrorUi m_ui;
    LoopRobotUi m_robot;
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<EmulatorProcess> m_emulator;
    QTimer m_watchdog;
    int m_watchdogFired = 0;
    std::vector<Operation> m_operations;
    std::vector<std::string> m_allowed; // message prefixes the running operation may show
    int m_names = 0;
    std::string m_problem; // what the running operation found wrong beyond the mirror
};

Mirror::~Mirror() {
    commLink().CloseComm();
    ResetCore();
    m_port.reset();
    InstallScreen({});
    UseProfileFile(std::string());
}

std::string Mirror::Start() {
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
    if (!m_emulator->isRunning())
        return "cannot start " + EmulatorProcess::Program().toStdString();
    WriteProfileString("Communication", "device", m_emulator->linkPath().toStdString());
    commLink().OpenCommunication();
    m_ui.projectPath = m_dir.filePath(QStringLiteral("mirror.run")).toStdString();
    if (protocol().ReplyState == reply::kNotOpen || !projectDocument().NewFileDocument() ||
        !m_ui.messages.empty())
        return "no project on the emulator's link";
    DefineOperations();
    return std::string();
}

bool Mirror::Step(MirrorRun& run, std::ostream* log) {
    if (Chance(30))
        MoveArm();
    m_allowed.clear();
    m_problem.clear();
    static_cast<DialogAnswers&>(m_ui) = DialogAnswers();
    m_robot.edits.clear();
    m_robot.passes.clear();
    m_ui.answer = Answer::Yes;
    const size_t messagesBefore = m_ui.messages.size();
    const int timeouts = m_robot.timedOut;
    m_watchdog.start();
    int total = 0;
    for (const Operation& op : m_operations)
        total += op.weight;
    std::string text;
    for (;;) {
        int pick = Uniform(1, total);
        auto op = m_operations.begin();
        while ((pick -= op->weight) > 0)
            ++op;
        if (op->run(text)) {
            ++run.kinds[op->kind];
            text = op->kind + (text.empty() ? "" : " " + text);
            break;
        }
    }
    m_watchdog.stop();
    ++run.operations;
    if (log)
        *log << run.operations << ": " << text << "\n";
    const std::string problem = Check(messagesBefore, timeouts);
    if (problem.empty())
        return true;
    std::ostringstream out;
    out << "seed " << m_seed << ", operation " << run.operations << " (" << text << "): " << problem
        << "\nthe controller's last command lines:";
    QStringList history;
    m_emulator->Control(QStringLiteral("history 8"), &history);
    for (const QString& line : history)
        out << "\n  " << line.toStdString();
    run.failure = out.str();
    return false;
}

std::string Mirror::Check(size_t messagesBefore, int timeouts) {
    if (!m_problem.empty())
        return m_problem;
    if (!PumpUntil(LinkReady, 2000))
        return "the link is not idle afterwards";
    if (m_watchdogFired != 0)
        return "a wait was cancelled after " + std::to_string(kWatchdogMs) + " ms";
    if (m_robot.timedOut != timeouts)
        return "a teach window was not closed by the pad";
    for (size_t i = messagesBefore; i < m_ui.messages.size(); ++i) {
        const std::string& message = m_ui.messages[i];
        if (std::none_of(m_allowed.begin(), m_allowed.end(),
                         [&](const std::string& prefix) { return message.rfind(prefix, 0) == 0; }))
            return "unexpected message \"" + message + "\"";
    }
    const ProjectModel& m = projectModel();
    if (m.EntryCount() != static_cast<int>(m.EntryNames.size()))
        return std::to_string(m.EntryCount()) + " entries but " + std::to_string(m.EntryNames.size()) +
               " names";
    return Compare();
}

std::string Mirror::Compare() {
    QStringList lines;
    if (!m_emulator->Control(QStringLiteral("runlist masked"), &lines) || lines.isEmpty())
        return "the emulator gave no run-list";
    const QStringList parts = lines.first().split(' ');
    const QByteArray controller = QByteArray::fromHex(parts.value(1).toLatin1());
    const QByteArray image = MaskedImage();
    if (controller == image)
        return std::string();
    int offset = 0;
    while (offset < std::min(controller.size(), image.size()) && controller[offset] == image[offset])
        ++offset;
    auto row = [offset](const QByteArray& bytes) {
        return bytes.mid(offset & ~15, 16).toHex(' ').toStdString();
    };
    std::ostringstream out;
    out << "first difference at offset " << offset << " (controller NEXT " << parts.value(0).toStdString()
        << ", image end " << projectModel().RunListEnd << ")\n  controller: " << row(controller)
        << "\n  image:      " << row(image);
    return out.str();
}

void Mirror::MoveArm() {
    // Now and then far out, where sums and differences wrap round in 16 bits.
    const int reach = Chance(10) ? 32767 : 2000;
    QString command = QStringLiteral("set joints");
    for (int i = 0; i < 6; ++i)
        command += ' ' + QString::number(Uniform(-reach, reach));
    m_emulator->Control(command);
}

int Mirror::AnyEntry() {
    const ProjectModel& m = projectModel();
    std::vector<int> entries;
    for (int e = m.FirstEntry(); e != kNoEntry; e = m.NextEntry(e))
        entries.push_back(e);
    // While a very large entry fills the list, it is the one most often deleted.
    if (m.RunListEnd > 40000 && Chance(50))
        return *std::max_element(entries.begin(), entries.end(),
                                 [&](int a, int b) { return m.EntrySize(a) < m.EntrySize(b); });
    return Any(entries, kNoEntry);
}

int Mirror::AnyRoute(const std::function<bool(int)>& accept) {
    std::vector<int> routes = RouteListEntries();
    if (accept)
        routes.erase(std::remove_if(routes.begin(), routes.end(), [&](int r) { return !accept(r); }),
                     routes.end());
    return Any(routes, kNoEntry);
}

void Mirror::QueueRecordEdit(int low, int high) {
    if (Chance(10))
        low = -32768, high = 32767;
    std::int16_t values[6];
    for (std::int16_t& v : values)
        v = static_cast<std::int16_t>(Uniform(low, high));
    m_robot.edits.push_back([values](PositionRecord& rec) { std::copy(values, values + 6, rec.values); });
}

void Mirror::QueueFunction() {
    std::string word = kWords[Uniform(0, int(std::size(kWords)) - 1)];
    if (Chance(10)) {
        word = "NOSUCH";
        Allow("OK expected");
    }
    m_ui.functions.push_back({word, Uniform(-500, 500)});
}

void Mirror::QueueContour() {
    const int code = Uniform(0, 3);
    const double a = Uniform(0, 2000) / 10.0;
    m_ui.contours.push_back({code, code == 3 ? a / 4 : a, Uniform(-900, 2700) / 10.0});
}

bool Mirror::NewRoute(std::string& text, bool large) {
    if (Full() || (large && projectModel().RunListEnd > 20000))
        return false;
    Allow("Insufficient space");
    if (!CheckFreeSpace(1))
        return true;
    const NewRoutePresets presets = NewRoutePresetValues();
    NewRouteRequest request{NewName("R"), 0, Uniform(0, 1), Chance(30), 0, 0};
    const int layout = large ? 0 : Uniform(0, 3); // general twice as often as row or grid
    if (layout >= 2) {
        request.columns = Uniform(2, 5);
        request.rows = layout == 3 ? Uniform(2, 4) : 0;
    }
    const int lowest =
        std::max(presets.lowest, request.rows ? request.rows * request.columns : request.columns);
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

bool Mirror::PressEditorButton(std::string& text, EditorButton button) {
    const int r = AnyRoute();
    if (r == kNoEntry)
        return false;
    const ProjectModel& m = projectModel();
    const int s = Uniform(0, m.LineCount(r));
    if (!EditorButtonEnabled(button, RouteFactsOf(r, s, LinkReady())))
        return false;
    text = m.EntryName(r) + " line " + std::to_string(s);
    const bool functionDialog = button == EditorButton::InsertFunction ||
                                button == EditorButton::AppendFunction ||
                                (button == EditorButton::EditLine && !IsPositionCode(m.Line(r, s).code));
    if (functionDialog && m.IsHidden(r))
        QueueContour();
    else if (functionDialog)
        QueueFunction();
    else if (button == EditorButton::EditLine)
        QueueRecordEdit(-3000, 3000);
    else if (button == EditorButton::AddToAll)
        QueueRecordEdit(-40, 40);
    // A copied or renamed generator route keeps contour codes that name no controller word.
    if (button == EditorButton::EditLine && RouteLineTexts(r, s)[1] == "error")
        Allow("OK expected");
    if (button == EditorButton::Delete && Chance(10))
        m_ui.answer = Answer::No;
    switch (button) {
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
        EditorInsertFunction(r, s);
        break;
    case EditorButton::AppendFunction:
        EditorAppendFunction(r);
        break;
    case EditorButton::Delete:
        EditorDelete(r, s);
        break;
    case EditorButton::EditLine:
        EditorEditLine(r, s);
        break;
    case EditorButton::AddToAll:
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
    case EditorButton::Close:
        break;
    case EditorButton::Run:
        Allow("Route ");
        Allow("SDP without its three points");
        EditorRun(r, s);
        break;
    }
    return true;
}

bool Mirror::Teach(std::string& text, bool learn) {
    // Now and then a route with no room for the learned line, or none to drop.
    const ProjectModel& m = projectModel();
    int r = !Chance(25)
                ? kNoEntry
                : AnyRoute([&](int route) { return learn ? m.RouteIsFull(route) : m.LineCount(route) == 0; });
    if (r == kNoEntry && (r = AnyRoute()) == kNoEntry)
        return false;
    text = m.EntryName(r) + " (" + std::to_string(m.LineCount(r)) + " lines)";
    // The route's editor becomes active: its name goes to the controller, whose reply is awaited as
    // the operator's next click would.
    const bool named = m.ActiveRoute != r;
    const int replies = m_ui.replies;
    ActivateRouteEditor(r);
    if (named)
        PumpUntil([&] { return m_ui.replies > replies; }, 2000);
    const QString key = learn ? QStringLiteral("signal learn") : QStringLiteral("signal drop");
    m_robot.passes.push_back({[this, key] { m_emulator->Control(key); }, -1, RobotUi::ManualResult::Escape});
    m_robot.passes.push_back({{}, 0, RobotUi::ManualResult::Escape});
    teachPad().RunTeach();
    return true;
}

bool Mirror::Generate(std::string& text) {
    const ProjectModel& m = projectModel();
    auto targetOf = [&m](int g) {
        const int t = m.IsHidden(g) ? m.FindEntry(m.EntryName(g).substr(1)) : kNoEntry;
        return t != kNoEntry && m.EntryKind(t) == kRoute ? t : kNoEntry;
    };
    const int g = AnyRoute([&](int r) { return targetOf(r) != kNoEntry; });
    if (g == kNoEntry || !EditorButtonEnabled(EditorButton::Run, RouteFactsOf(g, 0, LinkReady())))
        return false;
    const int target = targetOf(g);
    const int first = m.LineOffset(target, 1), end = m.LineOffset(target, m.RouteCapacity(target) + 1);
    text = m.EntryName(g) + " into " + m.EntryName(target) + " (" + std::to_string(m.RouteCapacity(target)) +
           " lines)";
    Allow("Route ");
    Allow("SDP without its three points");
    // Outside the target's count and lines nothing changes, and a second run gives the same route.
    auto outside = [&] {
        QByteArray bytes = MaskedImage();
        bytes.remove(first, end - first);
        bytes[target + kCount] = bytes[target + kCount + 1] = 0;
        return bytes;
    };
    const QByteArray before = outside();
    EditorRun(g, 0);
    const QByteArray once = MaskedImage();
    EditorRun(g, 0);
    if (outside() != before)
        m_problem = "generating changed the image beyond the target's lines";
    else if (MaskedImage() != once)
        m_problem = "generating twice gave different routes";
    return true;
}

void Mirror::DefineOperations() {
    // The places window's buttons on a line of its list.
    auto onPlaceLine = [this](std::function<void(const PlaceLine&)> press) {
        return [this, press](std::string& text) {
            const PlaceLine line = Any(PlaceListLines(), PlaceLine{kNoEntry, false});
            if (line.place == kNoEntry)
                return false;
            text = projectModel().EntryName(line.place) + (line.approach ? " approach" : "");
            press(line);
            return true;
        };
    };
    auto editor = [this](EditorButton button) {
        return [this, button](std::string& text) { return PressEditorButton(text, button); };
    };
    auto onEntry = [this](std::function<void(int entry, std::string& text)> press) {
        return [this, press](std::string& text) {
            const int e = AnyEntry();
            if (e == kNoEntry)
                return false;
            const ProjectModel& m = projectModel();
            text = m.EntryName(e) + (e == m.FirstEntry()          ? " (first)"
                                     : m.NextEntry(e) == kNoEntry ? " (last)"
                                                                  : "");
            if (Chance(10)) {
                m_ui.answer = Answer::No;
                text += " (answered No)";
            }
            press(e, text);
            return true;
        };
    };
    m_operations = {
        {"add place", 8,
         [this](std::string& text) {
             if (Full())
                 return false;
             m_ui.names.push_back(text = NewName("P"));
             Allow("Insufficient space");
             PlacesAddNew();
             return true;
         }},
        {"place set to here", 4, onPlaceLine(PlacesSetToHere)},
        {"place set approach", 3, onPlaceLine([](const PlaceLine& line) { PlacesSetApproach(line.place); })},
        {"place edit data", 3, onPlaceLine([this](const PlaceLine& line) {
             QueueRecordEdit(-3000, 3000);
             PlacesEditData(line);
         })},
        {"place go to", 2, onPlaceLine([](const PlaceLine& line) { PlacesGoTo(line); })},
        {"delete entry", 5, onEntry([](int e, std::string&) {
             if (projectModel().EntryKind(e) == kPlace)
                 PlacesDelete(e);
             else
                 RoutesDelete(e);
         })},
        {"rename", 2, onEntry([this](int e, std::string& text) {
             const std::string name = (projectModel().IsHidden(e) ? "_" : "") + NewName("N");
             text += " to " + name;
             m_ui.names.push_back(name);
             if (projectModel().EntryKind(e) == kPlace)
                 PlacesEditName(e);
             else
                 RoutesEditName(e);
         })},
        {"new route", 6, [this](std::string& text) { return NewRoute(text, false); }},
        {"new large route", 1, [this](std::string& text) { return NewRoute(text, true); }},
        {"new generator", 2,
         [this](std::string& text) {
             if (projectModel().EntryCount() >= kMaxEntries - 1)
                 return false;
             Allow("Insufficient space");
             Allow("OK expected"); // a reserve the controller has no room for
             if (CheckFreeSpace(1))
                 RoutesNewGenerator(text = NewName("G"), Uniform(3, 40), Uniform(4, 16));
             return true;
         }},
        {"copy route", 3,
         [this](std::string& text) {
             const int r = AnyRoute();
             if (r == kNoEntry || Full())
                 return false;
             m_ui.names.push_back(NewName("C"));
             text = projectModel().EntryName(r) + " to " + m_ui.names.back();
             Allow("Insufficient space");
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
             const int lines =
                 Uniform(range.lowest, std::max(range.lowest, std::min(range.highest, range.value + 10)));
             text = projectModel().EntryName(r) + " from " + std::to_string(range.value) + " to " +
                    std::to_string(lines) + (projectModel().NextRoute(r) == kNoEntry ? " (last route)" : "");
             Allow("Insufficient space");
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
        {"generate", 3, [this](std::string& text) { return Generate(text); }},
        {"set line to here", 3, editor(EditorButton::SetToHere)},
        {"go to line", 1, editor(EditorButton::GoTo)},
        {"go near line", 1, editor(EditorButton::GoNear)},
        {"teach learn", 4, [this](std::string& text) { return Teach(text, true); }},
        {"teach drop", 2, [this](std::string& text) { return Teach(text, false); }},
    };
}

} // namespace

bool RunMirror(unsigned seed, int count, MirrorRun& run, std::ostream* log) {
    Mirror mirror(seed);
    run.failure = mirror.Start();
    if (!run.failure.empty())
        return false;
    while (run.operations < count)
        if (!mirror.Step(run, log))
            return false;
    return true;
}
