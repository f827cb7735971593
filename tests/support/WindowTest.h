#pragma once

#include <QtTest>
#include <QtWidgets>

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

// Runs `step` on the modal dialog of type T once the event loop that shows it is running, then rejects
// the dialog if the step left it open, so that no test can hang on it.
template <class T> void WhenModal(std::function<void(T&)> step, int triesLeft = 500) {
    QTimer::singleShot(triesLeft == 500 ? 0 : 10, [step, triesLeft] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            step(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        } else if (triesLeft > 0) {
            WhenModal<T>(step, triesLeft - 1);
        }
    });
}
