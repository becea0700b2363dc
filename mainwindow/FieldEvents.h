// A text field's key presses and loss of focus as plain callbacks, with the keys
// as the classic KeyPress event numbers them (13 Enter, 27 Escape, else the
// character's code).
#pragma once

#include <QObject>

#include <functional>

class QLineEdit;
class QWidget;

class FieldEvents : public QObject {
public:
    // Watches field; the callbacks left empty are not called.
    explicit FieldEvents(QWidget* field);

    // Enter and Escape are the field's own once handled here.
    std::function<void(int keyAscii)> KeyPress;
    std::function<void()> LostFocus;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The unapplied-edit mark of a field that applies on Enter: its text in bold from
// the first change until the value is applied or put back.
void SetEditMark(QLineEdit* field, bool on);
bool EditMarked(const QLineEdit* field);
