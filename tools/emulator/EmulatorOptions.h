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

    // Parses argv; false with a message in `error` (or "help" for --help).
    bool Parse(int argc, char** argv, std::string& error);
    static const char* Usage();
};
