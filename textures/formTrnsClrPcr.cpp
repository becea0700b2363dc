#include "formTrnsClrPcr.h"

#include "PicturePreview.h"
#include "TexturePicture.h"

#include "AnimationFrames.h"

#include "core/CoreError.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/GroupPolygonProcedures.h"
#include "core/WindowHooks.h"
#include "platform/colour.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/BitmapUse.h"

#include "ombrel.h"

#include <QCheckBox>
#include <QCursor>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <memory>
#include <vector>

namespace textures {
namespace {

constexpr int kFrameWidth = 317, kFrameHeight = 173;  // 4755 x 2595 twips at 96 dpi

}  // namespace

QCursor PipetteCursor() {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    // The glass tube from the tip at (8, 23) up to the right, the bulb at its end.
    p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8.5, 23.5), QPointF(19, 13));
    p.setPen(QPen(Qt::white, 1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 22.5), QPointF(18, 14));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(60, 60, 60));
    p.drawEllipse(QPointF(22, 10), 4.5, 4.5);
    p.drawLine(QPointF(16, 12), QPointF(20, 16));
    p.end();
    return QCursor(picture, 8, 23);
}

// ---- the picker

formTrnsClrPcr::formTrnsClrPcr(int32_t mode, QWidget* parent) : QDialog(parent), CurrMode(mode) {
    setObjectName("formTrnsClrPcr");
    setWindowTitle("Select Transparent Color.");
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    Frame1->setMinimumSize(kFrameWidth, kFrameHeight);
    Frame1->installEventFilter(this);
    Picture1 = new TexturePicture(Frame1);
    Picture1->setObjectName("Picture1");
    Picture1->setCursor(PipetteCursor());
    lblCLR = new QLabel(this);
    lblCLR->setObjectName("lblCLR");
    lblCLR->setFrameShape(QFrame::Box);
    lblCLR->setMinimumSize(80, 22);
    Check1 = new QCheckBox("Apply to all polygons with same bitmap.", this);
    Check1->setObjectName("Check1");
    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    auto* row = new QHBoxLayout;
    row->addWidget(lblCLR);
    row->addStretch();
    row->addWidget(cmdOK);
    row->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1, 1);
    layout->addWidget(Check1);
    layout->addLayout(row);

    Picture1->MouseDown = [this](int button, int, float x, float y) {
        platform::runTrapped(this, [&] { Picture1_MouseDown(button, static_cast<int>(x), static_cast<int>(y)); });
    };
    Picture1->MouseMove = [this](int button, int, float x, float y) {
        platform::runTrapped(this, [&] { Picture1_MouseMove(button, static_cast<int>(x), static_cast<int>(y)); });
    };
    Picture1->Resized = [this] { platform::runTrapped(this, [this] { Picture1_Paint(); }); };
    connect(cmdOK, &QPushButton::clicked, this, platform::trapped(this, [this] { cmdOK_Click(); }));
    connect(cmdCancel, &QPushButton::clicked, this, platform::trapped(this, [this] { cmdCancel_Click(); }));
}

void formTrnsClrPcr::setLabelColour(int32_t colour) { SetBackColour(*lblCLR, colour); }

bool formTrnsClrPcr::Form_Load() {
    picked_ = confirmed_ = false;
    Check1->setVisible(CurrMode == 0);
    if (CurrMode == 0) {
        const int32_t polygon = Globals::NumSelPols > 0 ? Globals::SelPols[1] : 0;
        const int32_t index = OMBREL_polygon_get_transparent_index(polygon);
        PickerBitmap = OMBREL_polygon_get_bitmap_handle(polygon);
        if (PickerBitmap == 0) {
            platform::msgBox(NoBitmapOnPolygon, platform::MsgButtons::OK, platform::MsgIcon::Information);
            return false;
        }
        if (index == -1) {
            setLabelColour(ButtonFaceColour);
            Color = platform::rgb(255, 0, 0);
        } else {
            Color = Globals::BitmapIndexToRgb(index, PickerBitmap);
            setLabelColour(Color);
        }
    } else {
        PickerBitmap = FrameBitmap(FrameFile, -1);
        if (PickerBitmap == 0) return false;
        setLabelColour(Color);
    }
    PickerBitmapName = Globals::GetEntityName(PickerBitmap);
    BitmapWidth = OMBREL_bitmap_get_width(PickerBitmap);
    BitmapHeight = OMBREL_bitmap_get_height(PickerBitmap);
    if (BitmapWidth <= 0 || BitmapHeight <= 0) return false;
    BitmapAspect = double(BitmapWidth) / BitmapHeight;
    FitPictureToFrame();
    Picture1_Paint();
    return true;
}

void formTrnsClrPcr::Picture1_Paint() {
    drawn_ = PickerBitmap != 0 && OMBREL_utilities_copy_bitmap_on_dc(Picture1->hDC(), PickerBitmap, 0, 0, Picture1->width(),
                                                                      Picture1->height()) == 0;
    Picture1->Refresh();
}

std::optional<int32_t> formTrnsClrPcr::ColourAt(int x, int y) const {
    const QImage& buffer = Picture1->buffer();
    if (!drawn_ || x < 0 || y < 0 || x >= buffer.width() || y >= buffer.height()) return std::nullopt;
    const QRgb c = buffer.pixel(x, y);
    return platform::rgb(qRed(c), qGreen(c), qBlue(c));
}

void formTrnsClrPcr::FitPictureToFrame() {
    const QRect inner = Frame1->contentsRect();
    if (inner.width() <= 0 || inner.height() <= 0 || BitmapAspect <= 0) return;
    int w = inner.width(), h = inner.height();
    if (double(w) / h < BitmapAspect)
        h = std::max(1, static_cast<int>(std::lround(w / BitmapAspect)));
    else
        w = std::max(1, static_cast<int>(std::lround(h * BitmapAspect)));
    Picture1->setGeometry(inner.x() + (inner.width() - w) / 2, inner.y() + (inner.height() - h) / 2, w, h);
}

bool formTrnsClrPcr::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Frame1 && event->type() == QEvent::Resize) FitPictureToFrame();
    return QDialog::eventFilter(watched, event);
}

void formTrnsClrPcr::pick(int Button, int x, int y) {
    if (Button != 1) return;
    // A drag that leaves the picture keeps the last colour picked on it.
    const std::optional<int32_t> colour = ColourAt(x, y);
    if (!colour) return;
    Color = *colour;
    picked_ = true;
    setLabelColour(Color);
}

void formTrnsClrPcr::Picture1_MouseDown(int Button, int x, int y) { pick(Button, x, y); }

void formTrnsClrPcr::Picture1_MouseMove(int Button, int x, int y) { pick(Button, x, y); }

void formTrnsClrPcr::cmdOK_Click() {
    confirmed_ = true;
    // Without a pick there is no colour to make transparent.
    if (CurrMode == 0 && picked_) SetTransColor();
    accept();
}

void formTrnsClrPcr::SetTransColor() {
    using namespace Globals;
    const auto& window = core::windowHooks();
    if (CurrSelEntityType != SelGroup || !window.editGeomText || window.editGeomText() != "Polygon") return;
    if (NumSelPols == 0) return;
    const int32_t polygon = SelPols[1], group = CurrSelEntityHandle;
    const int32_t index = RgbToBitmapIndex(Color, PickerBitmap);
    if (index == -1) return;  // not a colour of the picture
    const std::vector<int32_t> before = undo::LoadedBitmaps();
    const int32_t keyed = FrameBitmap(PickerBitmapName, index);
    if (keyed == 0) core::raiseError("The bitmap " + PickerBitmapName + " could not be loaded again");

    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActChngPolTrnsIndx;
    record->SetActionObjects();
    ActionChngPolTrnsIndx& change = *record->ChngPolTransIndx;
    change.SetSel_PolandFatherGrp(polygon, group);
    change.SetPrevTrnsIndx(OMBREL_bitmap_get_transparent_index(OMBREL_polygon_get_bitmap_handle(polygon)));
    if (Check1->isChecked()) change.SetAffectAllPolsWithSameMapNameFlag(true);
    for (int32_t added : undo::BitmapsLoadedSince(before)) change.SetLoadedBitmap(added);
    if (Check1->isChecked()) {
        for (int32_t p = OMBREL_group_get_first_polygon(group); p != 0; p = OMBREL_group_get_next_polygon(group, p))
            if (OMBREL_polygon_get_bitmap_handle(p) == PickerBitmap) OMBREL_polygon_set_bitmap_fill(p, keyed);
    } else {
        OMBREL_polygon_set_bitmap_fill(polygon, keyed);
    }
    core::callHook(window.setPolTransparentControls, true, Color);
    core::callHook(window.updateCameras);
    change.SetNewTrnsIndx(OMBREL_bitmap_get_transparent_index(OMBREL_polygon_get_bitmap_handle(polygon)));
    undo::Push(std::move(record));
}

void formTrnsClrPcr::cmdCancel_Click() { reject(); }

void PickPolygonTransparentColour(QWidget* owner) {
    formTrnsClrPcr picker(0, owner);
    if (picker.Form_Load()) platform::showModal(picker);
}

std::optional<int32_t> PickFrameTransparentColour(QWidget* owner, const std::string& frameFile, int32_t colour) {
    formTrnsClrPcr picker(1, owner);
    picker.FrameFile = frameFile;
    picker.Color = colour;
    if (!picker.Form_Load()) return std::nullopt;
    platform::showModal(picker);
    if (!picker.Confirmed()) return std::nullopt;
    return picker.Color;
}

}  // namespace textures
