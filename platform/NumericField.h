// The numeric field of the dialogs and panels: a text field with its up-down
// spinner, and the number rules they share.
//
// By default a change of the text to a number within the field's range is copied
// into the spinner's Tag, Enter applies, leaving the field applies, and a spinner
// click steps the Tag, shows it in the field and applies at once. Options cover
// the windows that differ. A key that leaves no number to be had is refused
// (NumberEntry.h); text on its way to a number ("-", "1e") stays as typed and is
// no value. Enter or leaving with text that is no value within the range puts
// back the text the edit started from and applies nothing; a text whose value
// is not finite ("1e999", "inf", "nan") is never a number.
#pragma once

#include "NumberEntry.h"

#include <QLineEdit>
#include <QString>
#include <QWidget>

#include <functional>

class QTimer;
class QToolButton;

namespace platform {

// The classic up-down control: a value that a click moves by one increment and a
// Tag the window keeps its running value in. Setting a new value raises Change.
//
// Holding an arrow down is press, steps and release: press makes the first step
// and starts the auto-repeat timer, whose every tick is one more step, until
// release. Tests script a held arrow as press, n steps and release.
//
// One mouse gesture on an arrow is exactly one press and one release, wherever
// the button comes up: Pressed comes before the first step's Change, Released
// after the last. While the pointer is off the held arrow the timer steps nothing.
class UpDown : public QWidget {
    Q_OBJECT
public:
    enum Direction { Down = -1, Up = 1 };

    explicit UpDown(QWidget* parent = nullptr);
    ~UpDown() override;

    int Value() const { return value_; }
    void setValue(int value);
    int Min = -1000, Max = 1000, Increment = 1;
    QString Tag;
    // Milliseconds before the first repeated step and between the next ones.
    int RepeatDelay = 400, RepeatInterval = 50;

    // A click on the upper or lower arrow, as the user makes it.
    void clickUp() { click(Up); }
    void clickDown() { click(Down); }

    void press(Direction direction);
    // One increment in the held direction; nothing while no arrow is held.
    void step();
    void release();
    bool Held() const { return held_ != 0; }
    bool Repeating() const;
    // A window opened under the held arrow: the gesture ends here, the arrow
    // shown up again, and nothing steps until the next press.
    void endGesture();

signals:
    void Change();
    void Pressed();
    void Released();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void click(Direction direction) {
        press(direction);
        release();
    }

    int value_ = 0;
    int held_ = 0;
    bool clickFromMouse_ = false;
    QToolButton* up_;
    QToolButton* down_;
    QTimer* repeat_;
};

// Ends the gesture of the arrow held down, if any: a modal window is opening and
// takes the mouse (the prompt seam calls this before every prompt).
void EndHeldSpinnerGesture();

// The spinner's Tag as a number; 0 when it holds none.
inline double TagValue(const UpDown* spinner) {
    double value = 0;
    ReadNumber(spinner->Tag, value);
    return value;
}

class NumericField : public QWidget {
    Q_OBJECT
public:
    struct Options {
        bool applyOnSpinner = true;  // a click applies at once
        double step = 1;             // what one increment adds to the running value
        bool copyOnChange = true;    // numeric text goes to the spinner's Tag
        bool applyOnLeave = true;    // leaving the field applies it
        NumberRange range = {};      // the values the field takes
    };

    explicit NumericField(QWidget* parent = nullptr) : NumericField(Options{}, parent) {}
    NumericField(Options options, QWidget* parent = nullptr);

    QLineEdit* text() const { return text_; }
    UpDown* spinner() const { return spinner_; }
    const Options& options() const { return options_; }
    void setRange(const NumberRange& range);

    // The window's handlers; each may be left empty. While active() answers false
    // (a window still filling its fields) the change and spinner handling rest.
    std::function<void()> apply;
    std::function<bool()> active;
    // Replaces the default handling of a change of the text or of the spinner.
    std::function<void()> onChange;
    std::function<void()> onSpinnerChange;
    // Replaces applying on leaving the field.
    std::function<void()> onLeave;

    // The text is a number within the range.
    bool HoldsValue() const;
    bool HoldsValue(double& value) const;
    // Ends the user's edit: text that is no value within the range gives way to
    // the text the edit started from, and the Tag to what it held then. False
    // when it did.
    bool Settle();
    bool Editing() const;
    // What Enter does: Settle, then apply unless the edit was taken back.
    void Commit();

    // The default handlings, for windows that wrap them in their own handlers.
    void CopyTextToTag();
    // Shows the Tag in the field (when it is not shown already).
    void ShowTag();
    void StepSpinner();
    void SelectAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isActive() const { return !active || active(); }

    Options options_;
    QLineEdit* text_;
    UpDown* spinner_;
    TypedNumber* typed_;
    QString tagAtEditStart_;
    bool tagKept_ = false;
};

}  // namespace platform
