#pragma once

#include <QObject>

#include <functional>
#include <vector>

// The window tests run in one program (WindowTestMain.cpp): each Qt Test class registers itself with
// MARLIX_WINDOW_TEST(Class) after its definition, and the program runs every registered class.
struct WindowTestRegistration {
    using Factory = std::function<QObject*()>;
    WindowTestRegistration(Factory make) { All().push_back(std::move(make)); }
    static std::vector<Factory>& All() {
        static std::vector<Factory> all;
        return all;
    }
};

#define MARLIX_WINDOW_TEST(Class)                                                                            \
    static const WindowTestRegistration register##Class([] { return new Class; });
