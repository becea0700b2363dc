// The choice of a new track: a circular one of N points made at once, or a
// custom one the user lays by clicking onto the world's polygons in the views.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;

namespace platform {
class UpDown;
}

class formCreateTrack : public QDialog {
public:
    // Makes, names, selects and records a track from points (x, y, z each).
    using CreateTrack = std::function<void(const std::vector<double>& points, int32_t count, bool cyclic)>;

    explicit formCreateTrack(CreateTrack create, QWidget* owner = nullptr);

    // True while a custom track is being laid in the main window's views; it
    // outlives the dialog, as the laying does.
    static inline bool CustomTrkMode = false;

    QGroupBox* Frame2;
    QPushButton* cmdCircular;
    QPushButton* cmdCustom;
    QGroupBox* Frame1;
    QLabel* Label1;
    QLabel* lblNumOfPts;
    platform::UpDown* updwnNumOfPts;
    QPushButton* cmdOk;

    void cmdCircular_Click();
    void cmdCustom_Click();
    void updwnNumOfPts_Change();
    // The circular track of updwnNumOfPts points on the circle of radius
    // WorldSize / 10 about the origin in z = 0, from +x counter-clockwise,
    // always cyclic; then the dialog closes. Also run by Create > Track >
    // Circular without the dialog being shown.
    void cmdOk_Click();

private:
    CreateTrack create_;
};
