#include "NumberEntry.h"

#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>

#include <utility>

namespace platform {
namespace {

QLocale numberLocale() {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

}  // namespace

bool ReadNumber(const QString& text, double& value) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return false;
    // Words such as "inf" and "nan" are never numbers, whatever the locale reads.
    for (QChar ch : trimmed)
        if (ch.isLetter() && ch.toLower() != QLatin1Char('e')) return false;
    bool ok = false;
    const double v = numberLocale().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(v)) return false;
    value = v;
    return true;
}

QString NumberText(double value) {
    if (value == 0) value = 0;  // no "-0"
    return numberLocale().toString(value, 'g', 15);
}

bool CanBecomeNumber(const QString& text) {
    const QLocale locale = numberLocale();
    const QString sign = QRegularExpression::escape(locale.negativeSign() + locale.positiveSign());
    const QString point = QRegularExpression::escape(locale.decimalPoint());
    const QRegularExpression shape(
        QStringLiteral("^\\s*[%1]?[0-9]*(%2[0-9]*)?([eE][%1]?[0-9]*)?\\s*$").arg(sign, point));
    return shape.match(text).hasMatch();
}

bool ReadValue(const QString& text, const NumberRange& range, double& value) {
    double v = 0;
    if (!ReadNumber(text, v) || !range.contains(v)) return false;
    value = v;
    return true;
}

QValidator::State NumberValidator::validate(QString& input, int&) const {
    double v = 0;
    if (ReadValue(input, range_, v)) return Acceptable;
    return CanBecomeNumber(input) ? Intermediate : Invalid;
}

TypedNumber::TypedNumber(QLineEdit* field, const NumberRange& range)
    : QObject(field), field_(field), validator_(new NumberValidator(range, this)), lastText_(field->text()) {
    field->setValidator(validator_);
    connect(field, &QLineEdit::textChanged, this, [this] {
        // Only the user's keys leave the text modified; the program's writes end an edit.
        if (!field_->isModified()) {
            editing_ = false;
        } else if (!editing_) {
            editing_ = true;
            editStart_ = lastText_;
        }
        lastText_ = field_->text();
    });
}

void TypedNumber::setRange(const NumberRange& range) {
    NumberValidator* old = std::exchange(validator_, new NumberValidator(range, this));
    field_->setValidator(validator_);
    delete old;
}

bool TypedNumber::HoldsValue(double& value) const { return ReadValue(field_->text(), range(), value); }

bool TypedNumber::Settle() {
    const bool typed = std::exchange(editing_, false);
    double value = 0;
    if (!typed || HoldsValue(value)) return true;
    field_->setText(editStart_);
    return false;
}

TypedNumber* AcceptNumbers(QLineEdit* field, const NumberRange& range) {
    if (TypedNumber* typed = TypedNumberOf(field)) {
        typed->setRange(range);
        return typed;
    }
    return new TypedNumber(field, range);
}

TypedNumber* TypedNumberOf(const QLineEdit* field) {
    return field->findChild<TypedNumber*>(QString(), Qt::FindDirectChildrenOnly);
}

bool HoldsNumber(const QLineEdit* field, double& value) {
    const TypedNumber* typed = TypedNumberOf(field);
    return ReadValue(field->text(), typed ? typed->range() : NumberRange{}, value);
}

}  // namespace platform
