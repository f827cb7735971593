// Runs every registered window test class in turn, offscreen, and fails when one of them fails.
#include "support/WindowTest.h"

#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failed = 0;
    for (const auto& make : WindowTestRegistration::All()) {
        const std::unique_ptr<QObject> test(make());
        failed += QTest::qExec(test.get(), argc, argv) != 0;
    }
    return failed == 0 ? 0 : 1;
}
