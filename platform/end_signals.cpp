#include "end_signals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

volatile std::sig_atomic_t g_requested = 0;
int g_pipe[2] = {-1, -1};

// Only what is safe in a signal handler: a flag and a byte to wake the event loop.
void noteSignal(int) {
    g_requested = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

// The answer a user gives who wants none of it: Cancel, else No (a Yes/No box
// cannot be closed), else closing the window.
void declineModalWindows() {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        for (QMessageBox::StandardButton b : {QMessageBox::Cancel, QMessageBox::No})
            if (QAbstractButton* button = box->button(b)) {
                button->click();
                return;
            }
    modal->close();
}

}  // namespace

void handleEndSignals() {
    static bool installed = false;
    if (installed || !QCoreApplication::instance() || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    installed = true;
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    // A window opened while ending (a question asked on the way out) is declined too.
    auto* declining = new QTimer(QCoreApplication::instance());
    declining->setInterval(50);
    QObject::connect(declining, &QTimer::timeout, [] { declineModalWindows(); });
    QObject::connect(notifier, &QSocketNotifier::activated, [declining] {
        char drained[64];
        while (::read(g_pipe[0], drained, sizeof drained) > 0) {
        }
        declineModalWindows();
        declining->start();
    });
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGTERM, SIGINT, SIGHUP}) sigaction(number, &action, nullptr);
}

bool endRequested() { return g_requested != 0; }

}  // namespace platform
