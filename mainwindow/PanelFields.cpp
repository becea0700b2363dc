#include "PanelFields.h"

#include "platform/NumericField.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace panels {

QVBoxLayout* ScrollingContent(QGroupBox* frame, QScrollArea*& area, const QString& areaName, QWidget*& content,
                              const QString& contentName) {
    auto* outer = new QVBoxLayout(frame);
    outer->setContentsMargins(2, 2, 2, 2);
    area = new QScrollArea(frame);
    area->setObjectName(areaName);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    content = new QWidget;
    content->setObjectName(contentName);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    area->setWidget(content);
    outer->addWidget(area);
    return column;
}

QScrollArea* ScrollingPage(QWidget* page, const QString& areaName) {
    auto* area = new QScrollArea;
    area->setObjectName(areaName);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The panel's width is fixed: narrow margins leave the controls room beside the bar.
    if (QLayout* layout = page->layout()) layout->setContentsMargins(4, 4, 4, 4);
    area->setWidget(page);
    return area;
}

platform::NumericField* AddNumericField(QGridLayout* grid, int row, const QString& caption, const QString& txtName,
                                        const QString& updwnName, QWidget* parent) {
    auto* field = new platform::NumericField(parent);
    field->text()->setObjectName(txtName);
    field->spinner()->setObjectName(updwnName);
    grid->addWidget(new QLabel(caption, parent), row, 0);
    grid->addWidget(field, row, 1);
    return field;
}

QGroupBox* VectorFrame(const QString& caption, const QString& txtName, const QString& updwnName,
                       std::array<platform::NumericField*, 3>& fields, QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    auto* grid = new QGridLayout(box);
    const char* axes[] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i)
        fields[static_cast<std::size_t>(i)] = AddNumericField(grid, i, axes[i], QStringLiteral("%1(%2)").arg(txtName).arg(i),
                                                              QStringLiteral("%1(%2)").arg(updwnName).arg(i), box);
    return box;
}

void ShowValue(platform::NumericField* field, double value) {
    const QString text = platform::NumberText(value);
    field->spinner()->Tag = text;
    field->text()->setText(text);
}

bool Committed(const platform::NumericField* field, double& value) {
    return platform::ReadNumber(field->spinner()->Tag, value);
}

bool ApplyCommitted(const platform::NumericField* field, int32_t (*setter)(int32_t entity, double value),
                    int32_t entity) {
    double value = 0;
    if (!Committed(field, value)) return false;
    setter(entity, value);
    return true;
}

bool Committed(const std::array<platform::NumericField*, 3>& fields, Point3d& value) {
    bool ok = true;
    for (std::size_t i = 0; i < 3; ++i) ok = Committed(fields[i], value[i]) && ok;
    return ok;
}

}  // namespace panels
