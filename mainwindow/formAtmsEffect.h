// The fog dialog: the world's fog colour and intensity, each change sent to the
// engine and shown in the views at once. A whole visit is one undo step, recorded
// when the dialog closes if the visit changed anything.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class ActionUndoRedo;
class QGroupBox;
class QLabel;
class QPushButton;

namespace platform {
class UpDown;
}

class formAtmsEffect : public QDialog {
public:
    // chooseColour: the main window's colour dialog opened on a colour (nothing
    // when cancelled).
    using ColourDialog = std::function<std::optional<int32_t>(int32_t initial)>;
    explicit formAtmsEffect(ColourDialog chooseColour, QWidget* owner = nullptr);
    ~formAtmsEffect() override;

    // What one step of the spinner adds, and with Shift held.
    static constexpr double Rate = 0.0006;
    static constexpr double ShiftRate = 0.0012;

    void Form_Load();
    void cmdColor_Click();
    void updwnIntensity_Change();
    void updwnIntensity_MouseUp();
    void Form_Unload();

    QGroupBox* Frame1;
    QLabel* Label1;
    QPushButton* cmdColor;
    QLabel* Label3;
    platform::UpDown* updwnIntensity;

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ColourDialog chooseColour_;
    std::unique_ptr<ActionUndoRedo> FogUndoRecord;
    bool unloaded_ = false;
};

namespace mainwindow {

// The fog dialog over owner; nothing without an open world.
void ShowAtmosphereWindow(QWidget* owner, bool worldLoaded, formAtmsEffect::ColourDialog chooseColour);

}  // namespace mainwindow
