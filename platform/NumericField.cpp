#include "NumericField.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <utility>

namespace platform {
namespace {

// The arrow under the mouse, as one press: a window opening ends its gesture.
UpDown* g_held = nullptr;

}  // namespace

void EndHeldSpinnerGesture() {
    if (g_held) g_held->endGesture();
}

UpDown::UpDown(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)), repeat_(new QTimer(this)) {
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setFixedSize(16, 11);
        // Tab goes from field to field; the arrows are for the mouse.
        b->setFocusPolicy(Qt::NoFocus);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    // The buttons' own pressed and released signals come again each time the
    // pointer leaves and re-enters a held arrow; the mouse events themselves
    // make one gesture.
    for (QToolButton* b : {up_, down_}) {
        b->installEventFilter(this);
        // A click the mouse made was its press and release already; one the
        // program makes (click()) is both at once.
        connect(b, &QToolButton::clicked, this, [this, b] {
            if (std::exchange(clickFromMouse_, false)) return;
            click(b == up_ ? Up : Down);
        });
    }
    connect(repeat_, &QTimer::timeout, this, [this] {
        repeat_->setInterval(RepeatInterval);
        const QToolButton* arrow = held_ == Up ? up_ : down_;
        if (arrow->isDown()) step();
    });
}

UpDown::~UpDown() {
    if (g_held == this) g_held = nullptr;
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == up_ || watched == down_) {
        const auto type = event->type();
        if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && isEnabled()) {
            clickFromMouse_ = false;
            press(watched == up_ ? Up : Down);
        } else if (type == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            // Released over the arrow still shown down, the button goes on to click.
            clickFromMouse_ = static_cast<QToolButton*>(watched)->isDown();
            release();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::press(Direction direction) {
    // A gesture whose release never came (a window took the mouse) ends first.
    if (held_ != 0) release();
    held_ = direction;
    g_held = this;
    emit Pressed();
    step();
    // A Change handler may have released the arrow (a window closing).
    if (held_ != 0) repeat_->start(RepeatDelay);
}

void UpDown::step() {
    // A step at a limit stays there: a spinner up to 2147483647 never wraps.
    if (held_ == 0) return;
    const long long next = static_cast<long long>(value_) + static_cast<long long>(held_) * Increment;
    setValue(static_cast<int>(next < Min ? Min : next > Max ? Max : next));
}

void UpDown::release() {
    if (g_held == this) g_held = nullptr;
    if (held_ == 0) return;
    held_ = 0;
    repeat_->stop();
    emit Released();
}

void UpDown::endGesture() {
    // The mouse's release goes to the window: the arrow would stay drawn down.
    for (QToolButton* arrow : {up_, down_}) arrow->setDown(false);
    clickFromMouse_ = false;
    release();
}

bool UpDown::Repeating() const { return repeat_->isActive(); }

void UpDown::setValue(int value) {
    if (value < Min) value = Min;
    if (value > Max) value = Max;
    if (value == value_) return;
    value_ = value;
    emit Change();
}

NumericField::NumericField(Options options, QWidget* parent)
    : QWidget(parent), options_(options), text_(new QLineEdit(this)), spinner_(new UpDown(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(text_);
    layout->addWidget(spinner_);
    // Made first, so it sees each change before the window's handlers do.
    typed_ = AcceptNumbers(text_, options_.range);
    text_->installEventFilter(this);
    connect(text_, &QLineEdit::textChanged, this, [this] {
        // The Tag as the user's edit found it, for a commit that is taken back.
        if (!typed_->Editing())
            tagKept_ = false;
        else if (!std::exchange(tagKept_, true))
            tagAtEditStart_ = spinner_->Tag;
        if (onChange) onChange();
        else CopyTextToTag();
    });
    connect(spinner_, &UpDown::Change, this, [this] {
        if (onSpinnerChange) onSpinnerChange();
        else StepSpinner();
    });
}

void NumericField::setRange(const NumberRange& range) {
    options_.range = range;
    typed_->setRange(range);
}

bool NumericField::HoldsValue() const {
    double value = 0;
    return HoldsValue(value);
}

bool NumericField::HoldsValue(double& value) const { return typed_->HoldsValue(value); }

bool NumericField::Settle() {
    const bool kept = typed_->Settle();
    // The text went back to where the edit began; so does the running value
    // that the edit's passing numbers were copied into.
    if (!kept && std::exchange(tagKept_, false)) spinner_->Tag = tagAtEditStart_;
    tagKept_ = false;
    return kept;
}

bool NumericField::Editing() const { return typed_->Editing(); }

void NumericField::Commit() {
    if (Settle() && apply) apply();
}

void NumericField::CopyTextToTag() {
    if (isActive() && options_.copyOnChange && HoldsValue()) spinner_->Tag = text_->text();
}

void NumericField::ShowTag() {
    if (text_->text() != spinner_->Tag) text_->setText(spinner_->Tag);
}

void NumericField::StepSpinner() {
    const int value = spinner_->Value();
    if (value == 0) return;  // the change raised by resetting the value
    if (!isActive()) {
        spinner_->setValue(0);  // a click while the window rests is dropped, not saved up
        return;
    }
    double tag = 0;
    const bool numericTag = ReadNumber(spinner_->Tag, tag);
    const double next = numericTag ? tag + value * options_.step : value;
    spinner_->setValue(0);
    if (!options_.range.contains(next)) return;  // a step out of range is no step
    spinner_->Tag = NumberText(next);
    text_->setText(spinner_->Tag);
    if (options_.applyOnSpinner && apply) apply();
}

void NumericField::SelectAll() { text_->setSelection(0, static_cast<int>(text_->text().size())); }

bool NumericField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_) {
        if (event->type() == QEvent::FocusIn) {
            SelectAll();
        } else if (event->type() == QEvent::FocusOut) {
            // A commit taken back applies nothing: the field shows what was in force.
            if (!Settle()) return QWidget::eventFilter(watched, event);
            if (onLeave)
                onLeave();
            else if (options_.applyOnLeave && apply)
                apply();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (!Settle()) return static_cast<bool>(apply);
                if (apply) {
                    apply();
                    return true;
                }
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace platform
