#include "frmLightMapParameterInput.h"

#include "core/Globals.h"
#include "platform/NumericField.h"
#include "platform/clock.h"
#include "platform/end_signals.h"
#include "platform/event_pump.h"
#include "platform/prompts.h"

#include "ombrel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

constexpr double kLargest = std::numeric_limits<int32_t>::max();
constexpr int kEsc = 27;

// The whole number a field stands for: nearest, halves to even.
double wholeNumber(const QLineEdit* field) {
    double value = 0;
    platform::HoldsNumber(field, value);
    return std::nearbyint(value);
}

// Within the spinner's range before it becomes a position, so no value is
// out of range for the conversion.
int positionFor(double value, const platform::UpDown* spinner) {
    if (value <= spinner->Min) return spinner->Min;
    if (value >= spinner->Max) return spinner->Max;
    return static_cast<int>(value);
}

// Ends a running batch on every way out of the computation.
class BatchGuard {
public:
    BatchGuard() = default;
    ~BatchGuard() { OMBREL_ext_lightmap_end(); }
    BatchGuard(const BatchGuard&) = delete;
    BatchGuard& operator=(const BatchGuard&) = delete;
};

class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
};

}  // namespace

frmLightMapParameterInput::frmLightMapParameterInput(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmLightMapParameterInput"));
    setWindowTitle(QStringLiteral("Light Maps"));
    setModal(true);

    frmParam = new QGroupBox(this);
    frmParam->setObjectName(QStringLiteral("frmParam"));
    auto* grid = new QGridLayout(frmParam);
    struct Row {
        const char* caption;
        const char* name;
        const char* start;
        int position, min;
        QLineEdit** field;
        platform::UpDown** spinner;
    };
    const Row rows[] = {
        {"Max Map Size:", "MaxSize", "256", 1, 1, &txtMaxSize, &updwnMaxSize},
        {"Min Map Size:", "MinSize", "1", 1, 1, &txtMinSize, &updwnMinSize},
        {"Sampling Rate:", "SamplingRate", "4", 0, 0, &txtSamplingRate, &updwnSamplingRate},
    };
    int r = 0;
    for (const Row& row : rows) {
        auto* field = new QLineEdit(QString::fromLatin1(row.start), frmParam);
        field->setObjectName(QStringLiteral("txt%1").arg(QString::fromLatin1(row.name)));
        auto* spinner = new platform::UpDown(frmParam);
        spinner->setObjectName(QStringLiteral("updwn%1").arg(QString::fromLatin1(row.name)));
        spinner->Min = row.min;
        spinner->Max = std::numeric_limits<int32_t>::max();
        // Before the handlers are connected: the positions start apart from the texts.
        spinner->setValue(row.position);
        grid->addWidget(new QLabel(QString::fromLatin1(row.caption), frmParam), r, 0);
        grid->addWidget(field, r, 1);
        grid->addWidget(spinner, r++, 2);
        *row.field = field;
        *row.spinner = spinner;
    }
    frmLightMapNumber = new QGroupBox(QStringLiteral("Light Map Number:"), frmParam);
    frmLightMapNumber->setObjectName(QStringLiteral("frmLightMapNumber"));
    auto* numbers = new QHBoxLayout(frmLightMapNumber);
    Option1 = new QRadioButton(QStringLiteral("1"), frmLightMapNumber);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QRadioButton(QStringLiteral("2"), frmLightMapNumber);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setChecked(true);
    numbers->addWidget(Option1);
    numbers->addWidget(Option2);
    chkRaytracing = new QCheckBox(QStringLiteral("Raytracing"), frmParam);
    chkRaytracing->setObjectName(QStringLiteral("chkRaytracing"));
    chkRaytracing->setChecked(true);
    grid->addWidget(frmLightMapNumber, r++, 0, 1, 3);
    grid->addWidget(chkRaytracing, r, 0, 1, 3);

    frmcmdCompute = new QGroupBox(this);
    frmcmdCompute->setObjectName(QStringLiteral("frmcmdCompute"));
    auto* computeRow = new QHBoxLayout(frmcmdCompute);
    cmdCompute = new QPushButton(QStringLiteral("Compute Light Maps"), frmcmdCompute);
    cmdCompute->setObjectName(QStringLiteral("cmdCompute"));
    cmdCompute->setAutoDefault(false);
    computeRow->addWidget(cmdCompute);

    // Shown over the compute button while the maps are computed.
    frmProgress = new QGroupBox(this);
    frmProgress->setObjectName(QStringLiteral("frmProgress"));
    auto* progress = new QGridLayout(frmProgress);
    lblTotalPols = new QLabel(frmProgress);
    lblTotalPols->setObjectName(QStringLiteral("lblTotalPols"));
    lblPolsProcessed = new QLabel(frmProgress);
    lblPolsProcessed->setObjectName(QStringLiteral("lblPolsProcessed"));
    ProgressBar1 = new QProgressBar(frmProgress);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setMinimum(0);
    progress->addWidget(new QLabel(QStringLiteral("Total polygons to be processed:"), frmProgress), 0, 0);
    progress->addWidget(lblTotalPols, 0, 1);
    progress->addWidget(new QLabel(QStringLiteral("Polygons already processed:"), frmProgress), 1, 0);
    progress->addWidget(lblPolsProcessed, 1, 1);
    progress->addWidget(ProgressBar1, 2, 0, 1, 2);
    // Its place is kept while it is hidden, so showing it covers the button
    // without the dialog growing.
    QSizePolicy keepPlace = frmProgress->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    frmProgress->setSizePolicy(keepPlace);
    frmProgress->setVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frmParam);
    // The button's frame and the progress frame share one place, the progress on top.
    auto* computeArea = new QGridLayout;
    computeArea->addWidget(frmcmdCompute, 0, 0);
    computeArea->addWidget(frmProgress, 0, 0);
    layout->addLayout(computeArea);

    // Typed keys that leave no number are refused; whether a number fits is told
    // when the field is committed: leaving it, Enter, a spinner step, Compute.
    for (QLineEdit* field : {txtMaxSize, txtMinSize, txtSamplingRate}) {
        platform::AcceptNumbers(field, field == txtSamplingRate ? platform::kFloatValues : platform::NumberRange{});
        field->installEventFilter(this);
    }
    connect(txtMaxSize, &QLineEdit::textChanged, this, [this] { txtMaxSize_Change(); });
    connect(txtMinSize, &QLineEdit::textChanged, this, [this] { txtMinSize_Change(); });
    connect(txtSamplingRate, &QLineEdit::textChanged, this, [this] { txtSamplingRate_Change(); });
    connect(updwnMaxSize, &platform::UpDown::Change, this, [this] { updwnMaxSize_Change(); });
    connect(updwnMinSize, &platform::UpDown::Change, this, [this] { updwnMinSize_Change(); });
    connect(updwnSamplingRate, &platform::UpDown::Change, this, [this] { updwnSamplingRate_Change(); });
    connect(cmdCompute, &QPushButton::clicked, this, [this] { cmdCompute_Click(); });
}

// ---- the parameters

bool frmLightMapParameterInput::EntriesOk() {
    double rate = 0, maxSize = 0, minSize = 0;
    // "1e999" and the like are not numbers either.
    if (!platform::HoldsNumber(txtSamplingRate, rate))
        return refuse("Sampling Rate has to be a number", txtSamplingRate);
    if (rate < 0) return refuse("Sampling Rate has to be a positive number", txtSamplingRate);
    if (!platform::ReadNumber(txtMaxSize->text(), maxSize))
        return refuse("Max Map Size has to be a number", txtMaxSize);
    maxSize = std::nearbyint(maxSize);
    if (maxSize <= 1) return refuse("Max Map Size has to be higher than one", txtMaxSize);
    if (!platform::ReadNumber(txtMinSize->text(), minSize))
        return refuse("Min Map Size has to be a number", txtMinSize);
    minSize = std::nearbyint(minSize);
    if (minSize < 1) return refuse("Min Map Size has to be higher than zero", txtMinSize);
    if (minSize > maxSize) return refuse("Min Map Size cannot be higher than Max Map Size", txtMinSize);
    if (maxSize > kLargest) return refuse("Max Map Size is too large", txtMaxSize);
    if (minSize > kLargest) return refuse("Min Map Size is too large", txtMinSize);
    return true;
}

bool frmLightMapParameterInput::refuse(const char* text, QLineEdit* field) {
    platform::msgBox(text, platform::MsgButtons::OK, platform::MsgIcon::Information);
    // Typed text that is no number gives way to what the edit started from.
    platform::TypedNumberOf(field)->Settle();
    field->setFocus();
    return false;
}

// A typed number moves its spinner; nothing is judged while the user types.
void frmLightMapParameterInput::txtMaxSize_Change() { followText(txtMaxSize, updwnMaxSize); }

void frmLightMapParameterInput::txtMinSize_Change() { followText(txtMinSize, updwnMinSize); }

void frmLightMapParameterInput::txtSamplingRate_Change() { followText(txtSamplingRate, updwnSamplingRate); }

void frmLightMapParameterInput::followText(QLineEdit* field, platform::UpDown* spinner) {
    // A change the code makes to a spinner's position is no edit of its field.
    double value = 0;
    if (platform::HoldsNumber(field, value)) spinner->setValue(positionFor(std::nearbyint(value), spinner));
}

// A step is a whole new value: it is judged at once, as a committed field is.
void frmLightMapParameterInput::updwnMaxSize_Change() { followSpinner(updwnMaxSize, txtMaxSize); }

void frmLightMapParameterInput::updwnMinSize_Change() { followSpinner(updwnMinSize, txtMinSize); }

void frmLightMapParameterInput::updwnSamplingRate_Change() { followSpinner(updwnSamplingRate, txtSamplingRate); }

void frmLightMapParameterInput::followSpinner(platform::UpDown* spinner, QLineEdit* field) {
    if (!spinner->Held()) return;
    field->setText(QString::number(spinner->Value()));
    EntriesOk();
}

bool frmLightMapParameterInput::eventFilter(QObject* watched, QEvent* event) {
    const bool field = watched == txtMaxSize || watched == txtMinSize || watched == txtSamplingRate;
    if (field && !unloaded_ && !Computing) {
        if (event->type() == QEvent::FocusOut) {
            // Another window coming up (a message, a menu) is no leaving of the field.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) EntriesOk();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                EntriesOk();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- computing

void frmLightMapParameterInput::cmdCompute_Click() {
    if (!EntriesOk()) return;
    MaxMapSize = static_cast<int32_t>(wholeNumber(txtMaxSize));
    MinMapSize = static_cast<int32_t>(wholeNumber(txtMinSize));
    platform::HoldsNumber(txtSamplingRate, SamplingRate);
    RaytracingFlag = chkRaytracing->isChecked() ? 1 : 0;
    LightMapNumber = Option1->isChecked() ? 1 : 2;
    ComputeLightMaps();
    if (!unloaded_) accept();
}

void frmLightMapParameterInput::ComputeLightMaps() {
    using namespace Globals;
    frmProgress->setVisible(true);
    frmProgress->raise();
    frmParam->setEnabled(false);
    // The button is under the progress; it must not start a second run meanwhile.
    frmcmdCompute->setEnabled(false);
    const int32_t count = OMBREL_group_get_number_of_polygons(RootGrp);
    if (count <= 0) return;
    lblTotalPols->setText(QString::number(count));
    ProgressBar1->setMaximum(count);
    processed_ = 0;
    showProgress();

    // The workers compute ahead in the walk's order; each create call below
    // claims the next polygon's values.
    OMBREL_ext_lightmap_begin(RootGrp, MaxMapSize, MinMapSize, SamplingRate, RaytracingFlag, LightMapNumber);
    const BatchGuard batch;
    const FlagGuard computing(Computing);
    AbortRequested = false;
    int32_t polygon = OMBREL_group_get_first_polygon(RootGrp);
    while (polygon != 0) {
        if (stopRequested()) {
            // A program ending on a signal stops without asking.
            if (platform::endRequested() || confirmAbort()) {
                done(QDialog::Rejected);
                return;
            }
            AbortRequested = false;
        }
        platform::DoEvents();
        if (stopRequested() || !waitForMap(polygon)) continue;  // asked about this same polygon
        OMBREL_polygon_create_lightmap(polygon, MaxMapSize, MinMapSize, SamplingRate, RaytracingFlag,
                                       LightMapNumber);
        polygon = OMBREL_group_get_next_polygon(RootGrp, polygon);
        ++processed_;
        if (platform::GetTickCount() - lastPaint_ >= ProgressIntervalMs) showProgress();
    }
    showProgress();
}

bool frmLightMapParameterInput::waitForMap(int32_t polygon) {
    // Short waits with the events served between them: Esc and repaints are
    // answered however long one polygon takes.
    while (OMBREL_ext_lightmap_ready(polygon, ReadyWaitMs) == 0) {
        platform::DoEvents();
        if (stopRequested()) return false;
    }
    return true;
}

bool frmLightMapParameterInput::stopRequested() const { return AbortRequested || platform::endRequested(); }

void frmLightMapParameterInput::showProgress() {
    lblPolsProcessed->setText(QString::number(processed_));
    ProgressBar1->setValue(processed_);
    lastPaint_ = platform::GetTickCount();
}

bool frmLightMapParameterInput::confirmAbort() {
    return platform::msgBox("Lightmap creation has not completed. Do you wish to abort?", platform::MsgButtons::YesNo,
                            platform::MsgIcon::Information) == platform::MsgResult::Yes;
}

// ---- closing

void frmLightMapParameterInput::Form_KeyPress(int KeyAscii) {
    if (KeyAscii != kEsc) return;
    if (!Computing) done(QDialog::Rejected);
    AbortRequested = true;
}

void frmLightMapParameterInput::Form_Unload() {
    AbortRequested = true;
    frmProgress->setVisible(false);
    frmParam->setEnabled(true);
    frmcmdCompute->setEnabled(true);
}

void frmLightMapParameterInput::done(int result) {
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
    }
    QDialog::done(result);
}

void frmLightMapParameterInput::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Form_KeyPress(kEsc);
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmLightMapParameterInput::closeEvent(QCloseEvent* event) {
    // While computing, closing is a stop request: the loop asks first.
    if (Computing) {
        AbortRequested = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

namespace mainwindow {

void ShowLightMapParameterInput(QWidget* owner) {
    frmLightMapParameterInput dialog(owner);
    platform::showModal(dialog);
}

}  // namespace mainwindow
