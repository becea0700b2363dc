#include "engine_startup.h"
#include "platform/input_filter.h"
#include "platform/program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    platform::installInputFilter(application);
    if (!app::startEngine(platform::programFolder())) return 1;
    // The main window takes over here.
    return 0;
}
