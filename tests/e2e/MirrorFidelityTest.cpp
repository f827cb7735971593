// Mirror fidelity: random editing operations, chosen as an operator would from the buttons that are
// enabled, run through the core against the controller emulator; after each one the emulator's
// RUN-LIST must equal the project's image (name-index words aside), the link must be idle and no
// message may have appeared that the operation does not expect. The arm moves between operations so
// that learned positions differ. The same seed runs the same operations.
//
// The test makes a short run; MARLIX_MIRROR_SEED=N and MARLIX_MIRROR_COUNT=M ask for another seed and
// as many operations as wanted, MARLIX_MIRROR_VERBOSE=1 prints every operation. A failure names the
// seed, the operation's number and text, the first differing offset and the controller's last lines.
#include "EmulatorSession.h"

#include "core/project/CPosDat.h"
#include "core/project/PlacesActions.h"
#include "core/project/RouteEditorActions.h"
#include "core/project/RoutesActions.h"
#include "core/robot/TeachPad.h"

#include <algorithm>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <sstream>
#include <vector>

using namespace runlist;

namespace {

constexpr int kCancelAfterMs = 10000;
constexpr int kMaxEntries = 30;
// Controller words a function line may call; NOSUCH is one the controller does not know.
const char* const kWords[] = {"GRIP", "UNGRIP", "HOME", "DUP", "SMOOTH", "SEGMENTED"};

QByteArray MaskedImage() {
    const ProjectModel& m = projectModel();
    QByteArray bytes(reinterpret_cast<const char*>(m.RunList.data()), m.RunListEnd + 2);
    for (int e = m.FirstEntry(); e != kNoEntry; e = m.NextEntry(e))
        bytes[e + kNameIndex] = bytes[e + kNameIndex + 1] = 0;
    return bytes;
}

class Mirror : public EmulatorSession {
public:
    explicit Mirror(unsigned seed) : EmulatorSession(kCancelAfterMs), m_seed(seed), m_random(seed) {
        DefineOperations();
    }

    // One random operation (the run's `number`th) and its checks: what went wrong, or nothing.
    std::string Step(int number, bool log) {
        if (Chance(30))
            MoveArm();
        m_allowed.clear();
        m_problem.clear();
        static_cast<DialogAnswers&>(screen) = DialogAnswers();
        robot = ScriptedRobotUi();
        screen.messages.clear();
        screen.answer = Answer::Yes;
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
                text = op->kind + (text.empty() ? "" : " " + text);
                break;
            }
        }
        if (log)
            std::cout << number << ": " << text << "\n";
        const std::string problem = Check();
        if (problem.empty())
            return problem;
        QStringList history;
        emulator.Control(QStringLiteral("history 8"), &history);
        return "seed " + std::to_string(m_seed) + ", operation " + std::to_string(number) + " (" + text +
               "): " + problem + "\nthe controller's last command lines:\n  " +
               history.join("\n  ").toStdString();
    }

private:
    struct Operation {
        const char* kind;
        int weight;
        std::function<bool(std::string& text)> run; // false: it does not apply now, nothing was done
    };
    using Press = std::function<int(int r, int s)>;

    std::string Check() {
        if (!m_problem.empty())
            return m_problem;
        if (!PumpUntil(LinkReady, 2000))
            return "the link is not idle afterwards";
        if (screen.cancels != 0)
            return "a wait box showed no progress for " + std::to_string(kCancelAfterMs) + " ms";
        if (m_unclosed != 0)
            return "a teach window was not closed by the pad";
        for (const std::string& message : screen.messages) {
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

    std::string Compare() {
        QStringList lines;
        if (!emulator.Control(QStringLiteral("runlist masked"), &lines) || lines.isEmpty())
            return "the emulator gave no run-list";
        const QStringList parts = lines.first().split(' ');
        const QByteArray controller = QByteArray::fromHex(parts.value(1).toLatin1());
        const QByteArray image = MaskedImage();
        if (controller == image)
            return std::string();
        const auto offset =
            std::mismatch(controller.begin(), controller.end(), image.begin(), image.end()).first -
            controller.begin();
        auto row = [offset](const QByteArray& bytes) {
            return bytes.mid(offset & ~15, 16).toHex(' ').toStdString();
        };
        std::ostringstream out;
        out << "first difference at offset " << offset << " (controller NEXT " << parts.value(0).toStdString()
            << ", image end " << projectModel().RunListEnd << ")\n  controller: " << row(controller)
            << "\n  image:      " << row(image);
        return out.str();
    }

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool Chance(int percent) { return Uniform(1, 100) <= percent; }
    template <typename T> T Any(const std::vector<T>& items, T none) {
        return items.empty() ? none : items[static_cast<size_t>(Uniform(0, int(items.size()) - 1))];
    }
    std::string NewName(const char* prefix) { return prefix + std::to_string(++m_names); }
    // Message prefixes the running operation may show.
    void Allow(std::initializer_list<const char*> prefixes) {
        m_allowed.insert(m_allowed.end(), prefixes.begin(), prefixes.end());
    }
    void AllowGeneration() { Allow({"Route ", "SDP without its three points"}); }
    bool Full() const { return projectModel().EntryCount() >= kMaxEntries; }

    void MoveArm() {
        // Now and then far out, where sums and differences wrap round in 16 bits.
        const int reach = Chance(10) ? 32767 : 2000;
        QString command = QStringLiteral("set joints");
        for (int i = 0; i < 6; ++i)
            command += ' ' + QString::number(Uniform(-reach, reach));
        emulator.Control(command);
    }

    int AnyEntry() {
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

    int AnyRoute(const std::function<bool(int)>& accept = {}) {
        std::vector<int> routes = RouteListEntries();
        if (accept)
            routes.erase(std::remove_if(routes.begin(), routes.end(), [&](int r) { return !accept(r); }),
                         routes.end());
        return Any(routes, kNoEntry);
    }

    void QueueRecordEdit(int low, int high) {
        if (Chance(10))
            low = -32768, high = 32767;
        std::array<std::int16_t, 6> values;
        for (std::int16_t& v : values)
            v = static_cast<std::int16_t>(Uniform(low, high));
        robot.edits.push_back(
            [values](PositionRecord& rec) { std::copy(values.begin(), values.end(), rec.values); });
    }

    void QueueFunction() {
        std::string word = kWords[Uniform(0, int(std::size(kWords)) - 1)];
        if (Chance(10)) {
            word = "NOSUCH";
            Allow({"OK expected"});
        }
        screen.functions.push_back({word, Uniform(-500, 500)});
    }

    void QueueContour() {
        const int code = Uniform(0, 3);
        const double a = Uniform(0, 2000) / 10.0;
        screen.contours.push_back({code, code == 3 ? a / 4 : a, Uniform(-900, 2700) / 10.0});
    }

    bool NewRoute(std::string& text, bool large) {
        if (Full() || (large && projectModel().RunListEnd > 20000))
            return false;
        Allow({"Insufficient space"});
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
        text = request.name + (request.mode ? " Cartesian" : " joint") +
               (request.relative ? " relative" : "") + " rows " + std::to_string(request.rows) + " columns " +
               std::to_string(request.columns) + " lines " + std::to_string(request.lines);
        RoutesNew(request);
        return true;
    }

    // A route editor's button on a random line of a random route, with the dialog it opens answered.
    bool PressEditorButton(std::string& text, EditorButton button, const Press& press) {
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
            Allow({"OK expected"});
        if (button == EditorButton::Delete && Chance(10))
            screen.answer = Answer::No;
        if (button == EditorButton::Run)
            AllowGeneration();
        press(r, s);
        return true;
    }

    bool Teach(std::string& text, bool learn) {
        // Now and then a route with no room for the learned line, or none to drop.
        const ProjectModel& m = projectModel();
        int r = !Chance(25) ? kNoEntry : AnyRoute([&](int route) {
            return learn ? m.RouteIsFull(route) : m.LineCount(route) == 0;
        });
        if (r == kNoEntry && (r = AnyRoute()) == kNoEntry)
            return false;
        text = m.EntryName(r) + " (" + std::to_string(m.LineCount(r)) + " lines)";
        // The route's editor becomes active: its name goes to the controller, whose reply is awaited as
        // the operator's next click would.
        const bool named = m.ActiveRoute != r;
        const int replies = screen.replies;
        ActivateRouteEditor(r);
        if (named)
            PumpUntil([&] { return screen.replies > replies; }, 2000);
        // The teach window stays up, the controller's output arriving, until the pad's signal closes it.
        robot.steps.push_back({[this, learn] {
            emulator.Control(learn ? "signal learn" : "signal drop");
            if (!PumpUntil([this] { return robot.closeRequests != 0; }))
                ++m_unclosed;
        }});
        teachPad().RunTeach();
        return true;
    }

    bool Generate(std::string& text) {
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
        text = m.EntryName(g) + " into " + m.EntryName(target) + " (" +
               std::to_string(m.RouteCapacity(target)) + " lines)";
        AllowGeneration();
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

    void DefineOperations() {
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
        // The places or routes window's buttons on an entry, a question now and then answered No; a
        // rename gives it a new name (hidden when it was).
        auto onEntry = [this](bool (*place)(int), bool (*route)(int), bool rename) {
            return [this, place, route, rename](std::string& text) {
                const int e = AnyEntry();
                if (e == kNoEntry)
                    return false;
                const ProjectModel& m = projectModel();
                text = m.EntryName(e) + (e == m.FirstEntry()          ? " (first)"
                                         : m.NextEntry(e) == kNoEntry ? " (last)"
                                                                      : "");
                if (Chance(10)) {
                    screen.answer = Answer::No;
                    text += " (answered No)";
                }
                if (rename) {
                    screen.names.push_back((m.IsHidden(e) ? "_" : "") + NewName("N"));
                    text += " to " + screen.names.back();
                }
                (m.EntryKind(e) == kPlace ? place : route)(e);
                return true;
            };
        };
        auto editor = [this](EditorButton button, Press press) {
            return
                [this, button, press](std::string& text) { return PressEditorButton(text, button, press); };
        };
        auto routeOnly = [](int (*press)(int)) { return [press](int r, int) { return press(r); }; };
        m_operations = {
            {"add place", 8,
             [this](std::string& text) {
                 if (Full())
                     return false;
                 screen.names.push_back(text = NewName("P"));
                 Allow({"Insufficient space"});
                 PlacesAddNew();
                 return true;
             }},
            {"place set to here", 4, onPlaceLine(PlacesSetToHere)},
            {"place set approach", 3,
             onPlaceLine([](const PlaceLine& line) { PlacesSetApproach(line.place); })},
            {"place edit data", 3, onPlaceLine([this](const PlaceLine& line) {
                 QueueRecordEdit(-3000, 3000);
                 PlacesEditData(line);
             })},
            {"place go to", 2, onPlaceLine([](const PlaceLine& line) { PlacesGoTo(line); })},
            {"delete entry", 5, onEntry(PlacesDelete, RoutesDelete, false)},
            {"rename", 2, onEntry(PlacesEditName, RoutesEditName, true)},
            {"new route", 6, [this](std::string& text) { return NewRoute(text, false); }},
            {"new large route", 1, [this](std::string& text) { return NewRoute(text, true); }},
            {"new generator", 2,
             [this](std::string& text) {
                 if (projectModel().EntryCount() >= kMaxEntries - 1)
                     return false;
                 Allow({"Insufficient space", "OK expected"}); // a reserve the controller has no room for
                 if (CheckFreeSpace(1))
                     RoutesNewGenerator(text = NewName("G"), Uniform(3, 40), Uniform(4, 16));
                 return true;
             }},
            {"copy route", 3,
             [this](std::string& text) {
                 const int r = AnyRoute();
                 if (r == kNoEntry || Full())
                     return false;
                 screen.names.push_back(NewName("C"));
                 text = projectModel().EntryName(r) + " to " + screen.names.back();
                 Allow({"Insufficient space"});
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
                        std::to_string(lines) +
                        (projectModel().NextRoute(r) == kNoEntry ? " (last route)" : "");
                 Allow({"Insufficient space"});
                 RoutesAdjustSize(r, lines);
                 return true;
             }},
            {"insert position", 8, editor(EditorButton::InsertPosition, EditorInsertPosition)},
            {"append position", 8, editor(EditorButton::AppendPosition, routeOnly(EditorAppendPosition))},
            {"insert function", 5, editor(EditorButton::InsertFunction, EditorInsertFunction)},
            {"append function", 5, editor(EditorButton::AppendFunction, routeOnly(EditorAppendFunction))},
            {"delete line", 6, editor(EditorButton::Delete, EditorDelete)},
            {"edit line", 5, editor(EditorButton::EditLine, EditorEditLine)},
            {"add to all", 2, editor(EditorButton::AddToAll, EditorAddToAll)},
            {"set approach line", 3, editor(EditorButton::SetApproach, routeOnly(EditorSetApproach))},
            {"interpolate", 2, editor(EditorButton::Interpolate, routeOnly(EditorInterpolate))},
            {"interpolate corners", 2,
             editor(EditorButton::InterpolateCorners, routeOnly(EditorInterpolateCorners))},
            {"run", 3, editor(EditorButton::Run, EditorRun)},
            {"generate", 3, [this](std::string& text) { return Generate(text); }},
            {"set line to here", 3, editor(EditorButton::SetToHere, EditorSetToHere)},
            {"go to line", 1, editor(EditorButton::GoTo, EditorGoTo)},
            {"go near line", 1, editor(EditorButton::GoNear, EditorGoNear)},
            {"teach learn", 4, [this](std::string& text) { return Teach(text, true); }},
            {"teach drop", 2, [this](std::string& text) { return Teach(text, false); }},
        };
    }

    unsigned m_seed;
    std::mt19937 m_random;
    std::vector<Operation> m_operations;
    std::vector<std::string> m_allowed;
    int m_names = 0;
    int m_unclosed = 0;    // teach windows the pad's signal did not close
    std::string m_problem; // what the running operation found wrong beyond the mirror
};

} // namespace

TEST(MirrorFidelity, RandomEditsKeepTheControllerEqualToTheImage) {
    const unsigned seed = qEnvironmentVariable("MARLIX_MIRROR_SEED", "20240611").toUInt();
    const int count = qEnvironmentVariable("MARLIX_MIRROR_COUNT", "300").toInt();
    Mirror mirror(seed);
    ASSERT_EQ(mirror.Start(), "");
    mirror.screen.savePath = mirror.Path("mirror.run");
    ASSERT_TRUE(projectDocument().NewFileDocument() && mirror.screen.messages.empty())
        << "no project on the emulator's link";
    for (int number = 1; number <= count; ++number)
        ASSERT_EQ(mirror.Step(number, qEnvironmentVariableIsSet("MARLIX_MIRROR_VERBOSE")), "");
}
