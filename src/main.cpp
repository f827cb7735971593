#include "gui/app/CRobotApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CRobotApp robotApp;
    if (!robotApp.InitInstance())
        return 1;
    const int result = app.exec();
    robotApp.ExitInstance();
    return result;
}
