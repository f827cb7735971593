#include "EmulatorOptions.h"

#include <cstdlib>

namespace {
bool ToLong(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return *text != '\0' && *end == '\0' && value >= low && value <= high;
}
} // namespace

const char* EmulatorOptions::Usage() {
    return "usage: marlix-emulator [--link PATH] [--baud N] [--control SOCKET] [--stdin-control]\n"
           "                       [--transcript FILE] [--joints N] [--cartesian-axes N] [--words FILE]\n";
}

bool EmulatorOptions::Parse(int argc, char** argv, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            error = "help";
            return false;
        }
        if (option == "--stdin-control") {
            stdinControl = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = option + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        long number = 0;
        if (option == "--link")
            linkPath = value;
        else if (option == "--control")
            controlPath = value;
        else if (option == "--transcript")
            transcriptPath = value;
        else if (option == "--words")
            wordsPath = value;
        else if (option == "--baud" && ToLong(value, 0, 10000000, number))
            baud = number;
        else if (option == "--joints" && ToLong(value, 1, 6, number))
            joints = int(number);
        else if (option == "--cartesian-axes" && ToLong(value, 1, 6, number))
            cartesianAxes = int(number);
        else {
            error = "bad option or value: " + option + " " + value;
            return false;
        }
    }
    return true;
}
