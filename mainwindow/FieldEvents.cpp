#include "FieldEvents.h"

#include <QFont>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

FieldEvents::FieldEvents(QWidget* field) : QObject(field) { field->installEventFilter(this); }

bool FieldEvents::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        if (LostFocus) LostFocus();
        return false;
    }
    if (event->type() != QEvent::KeyPress || !KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: KeyPress(13); return true;
    case Qt::Key_Escape: KeyPress(27); return true;
    default:
        if (!key->text().isEmpty()) KeyPress(key->text().at(0).unicode());
        return false;
    }
}

void SetEditMark(QLineEdit* field, bool on) {
    QFont font = field->font();
    font.setBold(on);
    field->setFont(font);
}

bool EditMarked(const QLineEdit* field) { return field->font().bold(); }
