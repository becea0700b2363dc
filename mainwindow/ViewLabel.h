// The caption over a view: white text with a dark outline, so it can be read on
// whatever picture the view shows, light or dark.
#pragma once

#include <QLabel>

class ViewLabel : public QLabel {
public:
    explicit ViewLabel(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
