// The transparent-colour picker ("Select Transparent Color."): a bitmap shown
// with its proportions, its transparent colour picked with a pipette by a left
// press or drag on the picture. Mode 0 works on the bitmap of the one selected
// polygon and applies the colour with undo; mode 1 hands the colour back to the
// animation editor for one frame.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QCursor;
class QGroupBox;
class QLabel;
class QPushButton;
class TexturePicture;

namespace textures {

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
    // Mode 0: the picked colour becomes the transparent colour of the selected
    // polygon's bitmap (of every polygon of the group showing it with Check1),
    // as one undoable record. Nothing unless the group's polygons are edited.
    void SetTransColor();
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
    // The bitmap drawn stretched over the whole box, read back by the picks.
    TexturePicture* Picture1;
    QLabel* lblCLR;
    QCheckBox* Check1;
    QPushButton *cmdOK, *cmdCancel;

    // The picture's place in the frame: the bitmap's proportions, the frame's
    // whole width or height, centred.
    void FitPictureToFrame();
    // The colour (0x00BBGGRR) drawn at a pixel of the picture, or nothing outside it.
    std::optional<int32_t> ColourAt(int x, int y) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pick(int Button, int x, int y);
    void setLabelColour(int32_t colour);
    void Picture1_Paint();

    bool picked_ = false;
    bool confirmed_ = false;
    bool drawn_ = false;
};

inline constexpr const char* NoBitmapOnPolygon = "Selected polygon doesn't have a bitmap assigned to it.";

// Mode 0 in one call, over the owner: the selected polygon's bitmap.
void PickPolygonTransparentColour(QWidget* owner);

// Mode 1 in one call: the colour picked for a frame, or nothing when the picker
// was cancelled or the frame's bitmap does not load (the frame keeps its colour).
std::optional<int32_t> PickFrameTransparentColour(QWidget* owner, const std::string& frameFile, int32_t colour);

}  // namespace textures
