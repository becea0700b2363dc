// The splash window shown at start-up: it counts the seconds down and closes
// itself when its timer runs out. TALVORA_SPLASH_MS in the environment shortens
// the wait (tests and automation); it is 20 seconds otherwise.
#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QTimer;

class formSplash : public QDialog {
public:
    explicit formSplash(QWidget* parent = nullptr);

    // Counts down until the timer has run out, letting events run meanwhile.
    void Form_Activate();
    void Timer1_Timer();
    void lblWebSite_Click();

    bool Done() const { return done_; }

    // Esc and the close button end a dialog through here; the splash stays up,
    // counting down, until its time is over.
    void reject() override;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* lblWebSite;
    QTimer* Timer1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool done_ = false;
    bool counting_ = false;
};

// The splash's length in milliseconds: TALVORA_SPLASH_MS when it holds a whole
// number of zero or more, else 20000.
int SplashIntervalMs();
// The countdown label: a blank and the seconds left, rounded to a tenth, in
// their shortest form (" 20", " 19.9", " 0").
QString SplashCountdownText(int intervalMs, uint32_t elapsedMs);
