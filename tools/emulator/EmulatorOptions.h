#pragma once

#include <string>

// The emulator's command line.
struct EmulatorOptions {
    std::string linkPath;       // --link: a symbolic link to the device
    std::string controlPath;    // --control: the control channel's Unix socket
    std::string transcriptPath; // --transcript: everything received is appended here
    std::string wordsPath;      // --words: write the word list and exit
    bool stdinControl = false;  // --stdin-control: control commands also from standard input
    long baud = 0;              // --baud: pace the answers at this line rate; 0 sends at once
    int joints = 6;             // --joints: values in a joint position
    int cartesianAxes = 6;      // --cartesian-axes: values in a Cartesian position

    // Parses the application's arguments (a QCoreApplication must exist). --help and --version print
    // their text and end the program; a wrong command line gives false with the parser's message in
    // `error`.
    bool Parse(std::string& error);
};
