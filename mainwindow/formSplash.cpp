#include "formSplash.h"

#include "AboutLinks.h"

#include "platform/clock.h"
#include "platform/end_signals.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <cstdlib>

int SplashIntervalMs() {
    constexpr int kStandard = 20000;
    const char* value = std::getenv("TALVORA_SPLASH_MS");
    if (!value || !*value) return kStandard;
    char* end = nullptr;
    const long ms = std::strtol(value, &end, 10);
    if (*end != '\0' || ms < 0 || ms > 3600000) return kStandard;
    return static_cast<int>(ms);
}

QString SplashCountdownText(int intervalMs, uint32_t elapsedMs) {
    const double left = (static_cast<double>(intervalMs) - static_cast<double>(elapsedMs)) / 1000.0;
    const double tenths = std::round(left * 10.0) / 10.0;
    // 'g' with enough digits gives the shortest form: 20, 19.9, 0.
    return " " + QString::number(tenths == 0.0 ? 0.0 : tenths, 'g', 12);
}

formSplash::formSplash(QWidget* parent) : QDialog(parent) {
    setObjectName("formSplash");
    setWindowTitle("TALVORA");
    Label1 = new QLabel("TALVORA", this);
    QFont big = Label1->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 2.5);
    Label1->setFont(big);
    Label2 = new QLabel("An editor of 3D worlds: groups, cameras, lights, tracks and textures in four views.", this);
    Label2->setWordWrap(true);
    Label3 = new QLabel(this);
    Label3->setObjectName("Label3");
    lblWebSite = new QLabel(QString("<a href=\"%1\">%1</a>").arg(kWebSite), this);
    lblWebSite->setObjectName("lblWebSite");
    lblWebSite->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setSingleShot(true);
    Timer1->setInterval(SplashIntervalMs());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(lblWebSite);
    layout->addWidget(Label3, 0, Qt::AlignRight);
    setMinimumWidth(420);

    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(lblWebSite, &QLabel::linkActivated, this, [this] { lblWebSite_Click(); });
}

void formSplash::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The countdown starts once the window is up, as an activation would start it.
    QTimer::singleShot(0, this, [this] { Form_Activate(); });
}

void formSplash::Form_Activate() {
    if (counting_ || done_) return;
    counting_ = true;
    Timer1->stop();
    Timer1->start();
    const uint32_t start = platform::GetTickCount();
    const int interval = Timer1->interval();
    while (!done_) {
        QCoreApplication::processEvents();
        const uint32_t elapsed = platform::GetTickCount() - start;
        Label3->setText(SplashCountdownText(interval, elapsed));
        // The clock decides as well as the timer, so a paused clock (tests) or a
        // late timer event cannot keep the splash up past its time; a program
        // ending on a signal does not wait for it.
        if (elapsed >= static_cast<uint32_t>(interval) || platform::endRequested()) Timer1_Timer();
        if (!done_) platform::Sleep(100);
    }
    counting_ = false;
}

void formSplash::Timer1_Timer() {
    Timer1->stop();
    done_ = true;
    close();
}

void formSplash::reject() {
    if (done_) QDialog::reject();
}

void formSplash::lblWebSite_Click() { platform::shell().openLink(kWebSite); }
