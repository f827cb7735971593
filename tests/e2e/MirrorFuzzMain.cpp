// mirror-fuzz --seed N --count M [--verbose]: random editing operations through the core against the
// controller emulator, the emulator's RUN-LIST compared with the project's image after each one.
// Prints the operations run and the mismatches; exit status 0 when there were none, 1 after a
// mismatch (described with the seed, the operation and the first differing offset), 2 when the run
// could not start.
#include "MirrorFuzz.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QLoggingCategory>

#include <iostream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The messages the core shows are checked by the run; they are not printed.
    QLoggingCategory::setFilterRules(QStringLiteral("marlix.ui.info=false"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Random project edits against the controller emulator."));
    parser.addHelpOption();
    parser.addOptions({{"seed", "Seed of the run.", "N"},
                       {"count", "Operations to run (10000).", "M", "10000"},
                       {"verbose", "Print every operation."}});
    parser.process(app);

    bool seedOk = true, countOk = true;
    const unsigned seed = parser.isSet("seed") ? parser.value("seed").toUInt(&seedOk)
                                               : unsigned(QDateTime::currentMSecsSinceEpoch() & 0x7fffffff);
    const int count = parser.value("count").toInt(&countOk);
    if (!seedOk || !countOk || count < 0) {
        std::cerr << "mirror-fuzz: --seed and --count take whole numbers\n";
        return 2;
    }

    MirrorRun run;
    const bool ok = RunMirror(seed, count, run, parser.isSet("verbose") ? &std::cout : nullptr);
    if (run.operations == 0 && !ok) {
        std::cerr << "mirror-fuzz: " << run.failure << "\n";
        return 2;
    }
    std::cout << "seed " << seed << ": " << run.operations << " operations, " << (ok ? 0 : 1)
              << " mismatches\n";
    for (const auto& kind : run.kinds)
        std::cout << "  " << kind.first << ": " << kind.second << "\n";
    if (!ok)
        std::cout << run.failure << "\n";
    return ok ? 0 : 1;
}
