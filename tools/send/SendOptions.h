#pragma once

#include <QByteArray>
#include <QString>

// marlix-send's command line.
struct SendOptions {
    enum class Mode { Command, Status, Last, File };

    Mode mode = Mode::Command;
    bool raw = false;           // --raw: the words' bytes as given, no CR added
    bool hide = false;          // --hide: the file's lines in hide mode
    double timeoutSeconds = 10; // --timeout
    QByteArray text;            // the command: the words' bytes joined by single spaces
    QString filePath;           // --file, made absolute

    // Parses the application's arguments (a QCoreApplication must exist). --help and --version print
    // their text and end the program; a wrong command line gives false with the parser's message in
    // `error`, its arguments' bytes as they were given.
    bool Parse(int argc, char** argv, QByteArray& error);
};
