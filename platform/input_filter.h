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
    bool isPropagatedWheel(QObject* watched, const QEvent* event);

    const QEvent* lastWheel_ = nullptr;
    QPointer<QWidget> lastWheelReceiver_;
};

// Installs one filter on the application (again is harmless).
void installInputFilter(QCoreApplication& app);

}  // namespace platform
