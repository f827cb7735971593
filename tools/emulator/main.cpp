// marlix-emulator: plays the robot controller's console on a pseudo-terminal.
#include "ConsoleModel.h"
#include "EmulatorOptions.h"
#include "EmulatorServer.h"
#include "WordListFile.h"

#include <QCoreApplication>

#include <clocale>
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

// The command line is read with Qt's parser; the application object lives only for that, so the
// console keeps the C locale and runs without Qt around it.
bool ReadOptions(int argc, char** argv, EmulatorOptions& options) {
    std::string error;
    {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationVersion(QStringLiteral(MARLIX_VERSION));
        if (!options.Parse(error))
            std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), error.c_str());
    }
    std::setlocale(LC_ALL, "C");
    return error.empty();
}
} // namespace

int main(int argc, char** argv) {
    EmulatorOptions options;
    if (!ReadOptions(argc, argv, options))
        return 2;
    std::string error;
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
