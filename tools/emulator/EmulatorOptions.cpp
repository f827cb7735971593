#include "EmulatorOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

// A whole number from `low` to `high`; otherwise the error in the parser's own wording.
bool ToNumber(const QCommandLineParser& parser, const QString& name, long low, long high, long& value,
              std::string& error) {
    if (!parser.isSet(name))
        return true;
    const QString text = parser.value(name);
    bool ok = false;
    const long number = text.toLong(&ok);
    if (ok && number >= low && number <= high) {
        value = number;
        return true;
    }
    error = QStringLiteral("Invalid value '%1' for '--%2': a whole number from %3 to %4 is expected.")
                .arg(text, name)
                .arg(low)
                .arg(high)
                .toStdString();
    return false;
}

std::string Text(const QCommandLineParser& parser, const QString& name, const std::string& fallback) {
    return parser.isSet(name) ? parser.value(name).toLocal8Bit().toStdString() : fallback;
}

} // namespace

bool EmulatorOptions::Parse(std::string& error) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Plays the robot controller's console on a pseudo-terminal, so that Marlix can be run over a real\n"
        "serial path without an arm. The device's path is the first line of standard output.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {"link",
         "Make <path> a symbolic link to the device; it goes with the device at an unplug, comes "
         "back with the new one and is removed at exit.",
         "path"},
        {"baud", "Send the answers at <n> baud, 10 bit times a byte; 0, the default, sends at once.", "n"},
        {"control", "Serve the control channel on a Unix stream socket at <socket>.", "socket"},
        {"stdin-control", "Also read control commands from standard input; answers go to standard output."},
        {"transcript", "Append every byte received from the PC to <file>.", "file"},
        {"joints", "Values in a joint position (1 to 6, default 6).", "n"},
        {"cartesian-axes", "Values in a Cartesian position (1 to 6, default 6).", "n"},
        {"words", "Write the dictionary as \"KXWords.txt\" records to <file> and exit.", "file"},
    });
    const QStringList arguments = QCoreApplication::arguments();
    if (!parser.parse(arguments)) {
        error = parser.errorText().toStdString();
        return false;
    }
    parser.process(arguments); // --help, --help-all and --version end here
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("Unexpected argument '%1'.")
                    .arg(parser.positionalArguments().first())
                    .toStdString();
        return false;
    }
    linkPath = Text(parser, "link", linkPath);
    controlPath = Text(parser, "control", controlPath);
    transcriptPath = Text(parser, "transcript", transcriptPath);
    wordsPath = Text(parser, "words", wordsPath);
    stdinControl = parser.isSet("stdin-control");
    long joints6 = joints, axes6 = cartesianAxes;
    if (!ToNumber(parser, "baud", 0, 10000000, baud, error) ||
        !ToNumber(parser, "joints", 1, 6, joints6, error) ||
        !ToNumber(parser, "cartesian-axes", 1, 6, axes6, error))
        return false;
    joints = static_cast<int>(joints6);
    cartesianAxes = static_cast<int>(axes6);
    return true;
}
