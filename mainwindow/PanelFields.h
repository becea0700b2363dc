// Building blocks of the workspace's property panels: numeric fields with their
// spinners laid out in a grid, a frame of three (X, Y, Z), and the field's value
// as shown and as committed (its spinner's Tag).
#pragma once

#include "core/CoreTypes.h"

#include <QString>

#include <array>
#include <cstdint>

class QGridLayout;
class QGroupBox;
class QScrollArea;
class QVBoxLayout;
class QWidget;

namespace platform {
class NumericField;
}

namespace panels {

// The frame's content in a scroll area that fills the frame (no frame of its own,
// no horizontal bar, the vertical one off until the panel shows it); answers the
// content's column to fill.
QVBoxLayout* ScrollingContent(QGroupBox* frame, QScrollArea*& area, const QString& areaName, QWidget*& content,
                              const QString& contentName);
// A workspace page inside a scroll area of its own: the page never gets less than
// its least size, whatever the panel's height, and scrolls while it is taller
// (or wider) than the panel.
QScrollArea* ScrollingPage(QWidget* page, const QString& areaName);

// A caption in column 0 and the field in column 1 of the row; the field's text and
// spinner get the object names given.
platform::NumericField* AddNumericField(QGridLayout* grid, int row, const QString& caption, const QString& txtName,
                                        const QString& updwnName, QWidget* parent);
// "Location:" and its kin: three fields X, Y, Z named txtName(0..2) and updwnName(0..2).
QGroupBox* VectorFrame(const QString& caption, const QString& txtName, const QString& updwnName,
                       std::array<platform::NumericField*, 3>& fields, QWidget* parent);
// The field shows the value and keeps it as its committed value.
void ShowValue(platform::NumericField* field, double value);
// The committed value; false when the Tag holds no number.
bool Committed(const platform::NumericField* field, double& value);
// Gives the committed value to the entity through the engine setter; false (and
// nothing set) when the Tag holds no number.
bool ApplyCommitted(const platform::NumericField* field, int32_t (*setter)(int32_t entity, double value),
                    int32_t entity);
// All three committed values; false when any Tag holds no number.
bool Committed(const std::array<platform::NumericField*, 3>& fields, Point3d& value);

}  // namespace panels
