// marlix-emulator: plays the robot controller's console on a pseudo-terminal.
#include "ConsoleModel.h"
#include "EmulatorOptions.h"
#include "EmulatorServer.h"
#include "WordListFile.h"

#include <csignal>
#include <cstdio>

namespace {
void OnStopSignal(int) {
    EmulatorServer::RequestStop();
}

void InstallSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}
} // namespace

int main(int argc, char** argv) {
    EmulatorOptions options;
    std::string error;
    if (!options.Parse(argc, argv, error)) {
        bool help = error == "help";
        if (!help)
            std::fprintf(stderr, "marlix-emulator: %s\n", error.c_str());
        std::fputs(EmulatorOptions::Usage(), help ? stdout : stderr);
        return help ? 0 : 2;
    }
    if (!options.wordsPath.empty()) {
        ConsoleModel console(options.joints, options.cartesianAxes);
        if (!WordListFile::Write(options.wordsPath, console.Dictionary(), error)) {
            std::fprintf(stderr, "marlix-emulator: cannot write %s: %s\n", options.wordsPath.c_str(),
                         error.c_str());
            return 1;
        }
        return 0;
    }
    InstallSignals();
    EmulatorServer server(options);
    return server.Run();
}
