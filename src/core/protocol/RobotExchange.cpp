#include "core/protocol/RobotExchange.h"

#include "core/link/SimulatedController.h"
#include "core/protocol/ArmProfile.h"
#include "core/protocol/Protocol.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace {

// Writes values count-1 .. 0, each followed by one space.
void PutValuesDescending(std::ostringstream& out, const AxisValues& values, int count) {
    for (int i = count - 1; i >= 0; --i)
        out << values[i] << ' ';
}

bool ReadValues(const char* command, int count, AxisValues& values) {
    std::string answer;
    if (!protocol().QueryCommand(command, answer))
        return false;
    ParseAxisValues(answer, count, values);
    return true;
}

// A move runs under a held box: the controller answers only once the arm has stopped, and the
// operator can give up waiting with "Cancel" (nothing is sent to the controller then).
bool SendMove(const std::string& text, const char* boxText) {
    std::ostringstream line;
    line << text;
    if (!SendStreamLine(line))
        return false;
    Protocol& proto = protocol();
    proto.ShowHeldBox(boxText, WaitBoxStyle::Plain);
    const bool done = proto.WaitReply();
    proto.CloseHeldBox();
    return done;
}

// The answer read as a decimal integer the way atoi reads it, but clamped instead of undefined when
// the controller prints something too long.
int LeadingNumber(const std::string& answer) {
    const long v = std::strtol(answer.c_str(), nullptr, 10);
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

bool SendAndWait(const std::ostringstream& line) {
    return SendStreamLine(line) && protocol().WaitReply();
}

} // namespace

bool SendStreamLine(const std::ostringstream& text) {
    return protocol().SendLine(text.str() + '\r');
}

int ParseAxisValues(const std::string& answer, int count, AxisValues& values) {
    const char* p = answer.c_str();
    int read = 0;
    while (read < count && read < 6) {
        char* end = nullptr;
        errno = 0;
        const long v = std::strtol(p, &end, 10);
        if (end == p)
            break;
        if (errno == ERANGE || v < std::numeric_limits<std::int16_t>::min() ||
            v > std::numeric_limits<std::int16_t>::max())
            break;
        values[read++] = static_cast<std::int16_t>(v);
        p = end;
    }
    return read;
}

bool ReadJoints(AxisValues& values) {
    return ReadValues("DECIMAL GF", JointCount(), values);
}

bool ReadCartesian(AxisValues& values) {
    return ReadValues("DECIMAL CF", CartesianAxisCount(), values);
}

bool ReadPosition(PositionRecord& record) {
    return record.IsCartesian() ? ReadCartesian(record.values) : ReadJoints(record.values);
}

std::string JointMoveText(const PositionRecord& record, bool relative) {
    std::ostringstream out;
    out << "DECIMAL ";
    PutValuesDescending(out, record.values, JointCount());
    out << (relative ? "JMR" : "JMA");
    return out.str();
}

std::string CartesianMoveText(const PositionRecord& record) {
    std::ostringstream out;
    out << "DECIMAL ";
    PutValuesDescending(out, record.values, CartesianAxisCount());
    out << "CM";
    return out.str();
}

std::string LoadPlaceText(const AxisValues& values, const std::string& target) {
    std::ostringstream out;
    out << "DECIMAL ";
    PutValuesDescending(out, values, 6);
    out << target << " DLD";
    return out.str();
}

bool MoveJoints(const PositionRecord& record, bool relative) {
    return SendMove(JointMoveText(record, relative), "Robot moving");
}

bool MoveCartesian(const PositionRecord& record) {
    return SendMove(CartesianMoveText(record), "Robot Moving");
}

bool LoadPlace(const AxisValues& values, const std::string& target) {
    std::ostringstream line;
    line << LoadPlaceText(values, target);
    return SendAndWait(line);
}

bool QueryNumber(const std::string& expression, int& number) {
    std::string answer;
    if (!protocol().QueryCommand("DECIMAL " + expression, answer))
        return false;
    // The simulated controller has no numbers to give: it always reports the same one.
    number = protocol().Simulated() ? SimulatedController::kQueryAnswer : LeadingNumber(answer);
    return true;
}

bool QueryVariable(const std::string& name, int& number) {
    return QueryNumber(name + " ?", number);
}

bool StoreVariable(const std::string& name, int number) {
    std::ostringstream line;
    line << "DECIMAL " << number << ' ' << name << " !";
    return SendAndWait(line);
}
