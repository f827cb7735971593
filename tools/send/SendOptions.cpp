#include "SendOptions.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

// The arguments with each byte as one character, so that the words reach the controller byte for
// byte whatever the locale (toLatin1 gives them back).
QStringList ByteArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLatin1(argv[i]));
    return arguments;
}

// A command line may start with a negative number ("-300 0 0 0 0 0 JMR"): that is a word, not an
// option, so the words are marked as starting there.
QStringList WithNegativeNumbersAsWords(QStringList arguments) {
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--") || !argument.startsWith('-'))
            break;
        if (argument.size() > 1 && argument[1].isDigit()) {
            arguments.insert(i, QStringLiteral("--"));
            break;
        }
        if (argument == QLatin1String("--timeout") || argument == QLatin1String("--file"))
            ++i; // its value follows
    }
    return arguments;
}

} // namespace

bool SendOptions::Parse(int argc, char** argv, QByteArray& error) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Sends a command line to the robot controller through the running Marlix and prints the reply\n"
        "line, or downloads a source file line by line as Marlix's \"Download File...\" does.\n"
        "Exit status: 0 the reply ended in \"OK\" (every line of the file was accepted), 1 it did not\n"
        "(a line was refused or the download was cancelled in Marlix), 2 Marlix is not running or its\n"
        "link is not open, 3 no reply within the time-out, 4 wrong arguments.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {"timeout", "Wait at most <seconds> for the reply (default 10); with --file, for each line's reply.",
         "seconds"},
        {"raw", "Send the words' bytes as given, without adding a CR."},
        {"status", "Print the reply status: 2 busy, 1 the last reply ended in \"OK\", 0 it did not."},
        {"last", "Print the last reply line."},
        {"file",
         "Download the source file <path> line by line; progress goes to standard error, and a "
         "refused line is printed as its number, a colon and its text.",
         "path"},
        {"hide", "With --file: send the lines in hide mode (after \"|\", followed by \"IOFLAG C0SET\")."},
    });
    parser.addPositionalArgument("words", "The command line, its words joined by single spaces.",
                                 "[words...]");
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);

    const QStringList arguments = WithNegativeNumbersAsWords(ByteArguments(argc, argv));
    if (!parser.parse(arguments)) {
        error = parser.errorText().toLatin1();
        return false;
    }
    parser.process(arguments); // --help, --help-all and --version end here

    const QStringList words = parser.positionalArguments();
    raw = parser.isSet("raw");
    hide = parser.isSet("hide");
    const int modes = int(!words.isEmpty()) + int(parser.isSet("status")) + int(parser.isSet("last")) +
                      int(parser.isSet("file"));
    if (modes != 1) {
        error = "Give one of: the words of a command line, '--status', '--last' or '--file'.";
        return false;
    }
    if (raw && words.isEmpty()) {
        error = "'--raw' needs the words of a command line.";
        return false;
    }
    if (hide && !parser.isSet("file")) {
        error = "'--hide' needs '--file'.";
        return false;
    }
    if (parser.isSet("timeout")) {
        bool ok = false;
        timeoutSeconds = parser.value("timeout").toDouble(&ok);
        if (!ok || timeoutSeconds < 0 || timeoutSeconds > 86400) {
            error = "Invalid value '" + parser.value("timeout").toLatin1() +
                    "' for '--timeout': seconds from 0 to 86400 are expected.";
            return false;
        }
    }
    if (parser.isSet("status"))
        mode = Mode::Status;
    else if (parser.isSet("last"))
        mode = Mode::Last;
    else if (parser.isSet("file")) {
        mode = Mode::File;
        filePath = QFileInfo(QFile::decodeName(parser.value("file").toLatin1())).absoluteFilePath();
    } else {
        mode = Mode::Command;
        text = words.join(' ').toLatin1();
    }
    return true;
}
