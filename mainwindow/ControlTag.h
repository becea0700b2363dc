// The Tag text of a control. While the program itself writes a control whose
// handler would record an undoable edit, the control carries "Dissable Click"
// (check boxes) or "Dissable Change" (fields and lists), and its handler stands
// still.
#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

inline constexpr const char* DissableClick = "Dissable Click";
inline constexpr const char* DissableChange = "Dissable Change";

inline QString Tag(const QObject* control) { return control->property("Tag").toString(); }
inline void SetTag(QObject* control, const QString& tag) { control->setProperty("Tag", tag); }

// The tag for one scope, cleared on every way out of it.
class TagGuard {
public:
    TagGuard(QObject* control, const char* tag) : control_(control) { SetTag(control_, tag); }
    ~TagGuard() { SetTag(control_, QString()); }
    TagGuard(const TagGuard&) = delete;
    TagGuard& operator=(const TagGuard&) = delete;

private:
    QObject* control_;
};
