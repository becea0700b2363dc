// Numbers as a person types them into a field: which texts are numbers, which
// may still become one as more keys come, and the values each kind of field
// takes. One validator holds every numeric text field of the editor to it: a key
// that leaves a text no number can come of is refused, so the field never shows
// a number the user did not type.
#pragma once

#include <QString>
#include <QValidator>

#include <cfloat>
#include <cmath>
#include <cstdint>

class QLineEdit;

namespace platform {

// A number as the user's locale writes it (QLocale()), blanks around allowed, no
// thousands separators; false for anything else and for values that are not finite.
bool ReadNumber(const QString& text, double& value);
inline bool IsNumeric(const QString& text) {
    double v = 0;
    return ReadNumber(text, v);
}
// Up to 15 significant digits, no trailing zeros, in the user's locale.
QString NumberText(double value);

// Text that more keys may still turn into a number: a sign, digits, the decimal
// separator and an exponent in that order, each part possibly still empty ("",
// "-", ".", "2.", "1e", "1e-"). Numbers themselves are such text.
bool CanBecomeNumber(const QString& text);

// The values a field takes. With magnitude set the bounds hold for the absolute
// value and the sign is free (a negative scale factor mirrors).
struct NumberRange {
    double low = -DBL_MAX, high = DBL_MAX;
    bool openLow = false, openHigh = false;
    bool magnitude = false;

    bool contains(double v) const {
        if (!std::isfinite(v)) return false;
        const double x = magnitude ? std::fabs(v) : v;
        return (openLow ? x > low : x >= low) && (openHigh ? x < high : x <= high);
    }
};

// Beyond this a double no longer keeps the detail of a world's geometry.
inline constexpr double kLengthLimit = 1e12;
// Coordinates, sizes, radii, offsets and distances.
inline constexpr NumberRange kLengths{-kLengthLimit, kLengthLimit};
// A factor whose reciprocal gives the geometry back.
inline constexpr NumberRange kScaleFactors{1 / kLengthLimit, kLengthLimit, false, false, true};
inline constexpr NumberRange kFieldOfView{0, 180, true, true};
// A camera's distance from the eye: the engine keeps none below a millionth.
inline constexpr NumberRange kViewingDistances{1e-6, kLengthLimit};
// What the engine hands to the renderer as a float.
inline constexpr NumberRange kFloatValues{-FLT_MAX, FLT_MAX};
inline constexpr NumberRange kWholeNumbers{INT32_MIN, INT32_MAX};

// The text is a number within the range.
bool ReadValue(const QString& text, const NumberRange& range, double& value);

// Acceptable: a number within the range; Intermediate: text that may still
// become one; Invalid (the key refused): anything else.
class NumberValidator : public QValidator {
public:
    explicit NumberValidator(NumberRange range, QObject* parent = nullptr) : QValidator(parent), range_(range) {}
    State validate(QString& input, int& pos) const override;
    const NumberRange& range() const { return range_; }

private:
    NumberRange range_;
};

// A text field held to numbers within a range: the validator, and the user's
// edit, from the first key after the program last wrote the field to the next
// Settle, with the text it started from.
class TypedNumber : public QObject {
    Q_OBJECT
public:
    TypedNumber(QLineEdit* field, const NumberRange& range);

    const NumberRange& range() const { return validator_->range(); }
    void setRange(const NumberRange& range);
    // The text is a number within the range.
    bool HoldsValue(double& value) const;
    // Ends the user's edit: text that is no number within the range gives way to
    // the text the edit started from. False when it did.
    bool Settle();
    // The user has typed since the program last wrote the text.
    bool Editing() const { return editing_; }

private:
    QLineEdit* field_;
    NumberValidator* validator_;
    bool editing_ = false;
    QString editStart_, lastText_;
};

// Holds a plain text field to numbers within the range.
TypedNumber* AcceptNumbers(QLineEdit* field, const NumberRange& range = {});
// The field's TypedNumber, or null.
TypedNumber* TypedNumberOf(const QLineEdit* field);
// Whether the field's text is a number within its range (any finite number for
// a field not held to one).
bool HoldsNumber(const QLineEdit* field, double& value);

}  // namespace platform
