// The application-wide event filter that feeds the key state, the wheel queue and
// the cursor service. It only watches: every event still reaches its widget.
#pragma once

#include <QObject>
#include <QPointer>

class QCoreApplication;
class QWidget;

namespace platform {

class InputFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Tells an event that an ignoring widget passed on to its parents from a new one.
    class PropagationGuard {
    public:
        bool isPropagated(QObject* watched, const QEvent* event);

    private:
        const QEvent* last_ = nullptr;
        QPointer<QWidget> receiver_;
    };

    PropagationGuard wheels_, keys_;
};

// Installs one filter on the application (again is harmless).
void installInputFilter(QCoreApplication& app);

// Wheel notches over this widget (or a child of it) go to the wheel queue; a
// notch anywhere else is left to the widget it is over.
void queueWheelNotchesOver(QWidget& widget);

}  // namespace platform
