// The light-map dialog: the parameters of a computation, then the light map of
// every polygon of the world, one polygon at a time, with progress and a stop
// that asks first. The engine's workers compute ahead while the dialog installs
// each polygon's map in turn and keeps the window answering.
#pragma once

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace platform {
class UpDown;
}

class frmLightMapParameterInput : public QDialog {
public:
    explicit frmLightMapParameterInput(QWidget* owner = nullptr);

    // The progress is painted at most this often (and once at the end).
    static constexpr uint32_t ProgressIntervalMs = 50;
    // How long one wait for a polygon's map lasts before the events are pumped again.
    static constexpr int32_t ReadyWaitMs = 20;

    bool EntriesOk();
    void ComputeLightMaps();
    void cmdCompute_Click();
    void txtMaxSize_Change();
    void txtMinSize_Change();
    void txtSamplingRate_Change();
    void updwnMaxSize_Change();
    void updwnMinSize_Change();
    void updwnSamplingRate_Change();
    // Esc: closes while idle; in every case asks the computation to stop.
    void Form_KeyPress(int KeyAscii);
    void Form_Unload();

    // The parameters, filled by the compute button.
    int32_t MaxMapSize = 0;
    int32_t MinMapSize = 0;
    double SamplingRate = 0;
    int32_t RaytracingFlag = 0;
    int32_t LightMapNumber = 0;
    bool Computing = false;
    bool AbortRequested = false;
    // The polygons whose maps are installed in the running (or last) computation.
    int32_t Processed() const { return processed_; }

    QGroupBox* frmParam;
    QLineEdit *txtMaxSize, *txtMinSize, *txtSamplingRate;
    platform::UpDown *updwnMaxSize, *updwnMinSize, *updwnSamplingRate;
    QGroupBox* frmLightMapNumber;
    QRadioButton *Option1, *Option2;
    QCheckBox* chkRaytracing;
    QGroupBox* frmcmdCompute;
    QPushButton* cmdCompute;
    QGroupBox* frmProgress;
    QProgressBar* ProgressBar1;
    QLabel *lblTotalPols, *lblPolsProcessed;

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Leaving a field or Enter in it judges the entries.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the message with the focus back in the field; false.
    bool refuse(const char* text, QLineEdit* field);
    void followText(QLineEdit* field, platform::UpDown* spinner);
    void followSpinner(platform::UpDown* spinner, QLineEdit* field);
    // Pumps events until the engine has the polygon's map ready; false when a
    // stop request came first.
    bool waitForMap(int32_t polygon);
    // Esc, closing, or the program ending on a signal.
    bool stopRequested() const;
    void showProgress();
    // Whether the user confirmed the stop.
    bool confirmAbort();

    int32_t processed_ = 0;
    uint32_t lastPaint_ = 0;
    bool unloaded_ = false;
};

namespace mainwindow {

// A fresh light-map dialog over owner, modal.
void ShowLightMapParameterInput(QWidget* owner);

}  // namespace mainwindow
