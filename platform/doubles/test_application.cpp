#include "test_application.h"

#include <QApplication>

namespace platform::doubles {

QApplication& testApplication() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
    static int argc = 1;
    static char name[] = "talvora-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace platform::doubles
