// The transparent-colour picker ("Select Transparent Color."): a bitmap shown
// with its proportions, its transparent colour picked with a pipette by a left
// press or drag on the picture. Mode 0 works on the bitmap of the one selected
// polygon and applies the colour with undo; mode 1 hands the colour back to the
// animation editor for one frame.
#pragma once

#include <QDialog>
#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace textures {

// The picture box: a bitmap drawn stretched over the whole box into a buffer of
// its own, read back by the picks.
class PickerPicture : public QWidget {
public:
    explicit PickerPicture(QWidget* parent = nullptr);

    // Draws the engine's bitmap over the whole box; nothing when it has no picture.
    void SetBitmap(int32_t bitmap);
    // The colour (0x00BBGGRR) drawn at a pixel of the box, or nothing outside the
    // picture.
    std::optional<int32_t> ColourAt(int x, int y) const;
    const QImage& Buffer() const { return buffer_; }

    // Button 1 left; the position in the box's pixels.
    std::function<void(int button, int x, int y)> MouseDown, MouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void redraw();

    int32_t bitmap_ = 0;
    bool drawn_ = false;
    QImage buffer_;
};

// The pipette: 32 x 32, its tip (the hot spot) at column 8, row 23.
QCursor PipetteCursor();

class formTrnsClrPcr : public QDialog {
public:
    explicit formTrnsClrPcr(int32_t CurrMode, QWidget* parent = nullptr);

    int32_t CurrMode;
    // The colour picked last (0x00BBGGRR); mode 1 starts from the caller's.
    int32_t Color = 0;
    // Mode 1: the frame's bitmap file or engine name.
    std::string FrameFile;

    // Reads the bitmap and fits its picture into the frame; false when there is
    // none to show (mode 0 says so) and the picker must not open.
    bool Form_Load();
    // True once a colour was picked on the picture.
    bool Picked() const { return picked_; }
    // Mode 1: "OK" closed the picker.
    bool Confirmed() const { return confirmed_; }

    void Picture1_MouseDown(int Button, int x, int y);
    void Picture1_MouseMove(int Button, int x, int y);
    void cmdOK_Click();
    void cmdCancel_Click();

    int32_t PickerBitmap = 0;
    std::string PickerBitmapName;
    int32_t BitmapWidth = 0, BitmapHeight = 0;
    double BitmapAspect = 1;

    QGroupBox* Frame1;
    PickerPicture* Picture1;
    QLabel* lblCLR;
    QCheckBox* Check1;
    QPushButton *cmdOK, *cmdCancel;

    // The picture's place in the frame: the bitmap's proportions, the frame's
    // whole width or height, centred.
    void FitPictureToFrame();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pick(int Button, int x, int y);
    void setLabelColour(int32_t colour);

    bool picked_ = false;
    bool confirmed_ = false;
};

// Mode 1 in one call: the colour picked for a frame, or nothing when the picker
// was cancelled or the frame's bitmap does not load (the frame keeps its colour).
std::optional<int32_t> PickFrameTransparentColour(QWidget* owner, const std::string& frameFile, int32_t colour);

}  // namespace textures
