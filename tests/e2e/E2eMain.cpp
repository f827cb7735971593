#include <QCoreApplication>

#include <gtest/gtest.h>

// The serial port and the timers need an event loop; every test pumps it as the program does.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
