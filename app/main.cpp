#include "engine_startup.h"
#include "mainwindow/Form1.h"
#include "platform/end_signals.h"
#include "platform/input_filter.h"
#include "platform/program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    platform::installInputFilter(application);
    platform::handleEndSignals();
    if (!app::startEngine(platform::programFolder())) return 1;
    Form1 form;
    form.InstallStartupWindows();
    if (!form.Form_Load()) return 1;
    return form.Form_Activate();
}
