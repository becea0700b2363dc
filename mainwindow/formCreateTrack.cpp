#include "formCreateTrack.h"

#include "core/Globals.h"
#include "platform/NumericField.h"
#include "platform/error_trap.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr int kDefaultPoints = 8;
constexpr int kFewestPoints = 3;

template <class Control>
Control* named(Control* control, const char* name) {
    control->setObjectName(name);
    return control;
}

}  // namespace

formCreateTrack::formCreateTrack(CreateTrack create, QWidget* owner) : QDialog(owner), create_(std::move(create)) {
    setObjectName("formCreateTrack");
    setWindowTitle("Create Track");
    setModal(true);

    Frame2 = named(new QGroupBox(this), "Frame2");
    auto* choice = new QHBoxLayout(Frame2);
    cmdCircular = named(new QPushButton("&Circular", Frame2), "cmdCircular");
    cmdCustom = named(new QPushButton("Cu&stom", Frame2), "cmdCustom");
    choice->addWidget(cmdCircular);
    choice->addWidget(cmdCustom);

    Frame1 = named(new QGroupBox("Circular", this), "Frame1");
    auto* circular = new QHBoxLayout(Frame1);
    Label1 = named(new QLabel("Num of Points", Frame1), "Label1");
    lblNumOfPts = named(new QLabel(QString::number(kDefaultPoints), Frame1), "lblNumOfPts");
    lblNumOfPts->setMinimumWidth(32);
    lblNumOfPts->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    updwnNumOfPts = named(new platform::UpDown(Frame1), "updwnNumOfPts");
    updwnNumOfPts->Min = kFewestPoints;
    updwnNumOfPts->Max = std::numeric_limits<int>::max();
    updwnNumOfPts->setValue(kDefaultPoints);
    cmdOk = named(new QPushButton("Ok", Frame1), "cmdOk");
    circular->addWidget(Label1);
    circular->addWidget(lblNumOfPts);
    circular->addWidget(updwnNumOfPts);
    circular->addWidget(cmdOk);
    Frame1->setVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame2);
    layout->addWidget(Frame1);

    connect(cmdCircular, &QPushButton::clicked, this, [this] { cmdCircular_Click(); });
    connect(cmdCustom, &QPushButton::clicked, this, [this] { cmdCustom_Click(); });
    connect(updwnNumOfPts, &platform::UpDown::Change, this, [this] { updwnNumOfPts_Change(); });
    connect(cmdOk, &QPushButton::clicked, this, platform::trapped(this, [this] { cmdOk_Click(); }));
}

void formCreateTrack::cmdCircular_Click() {
    Frame1->setVisible(true);
    Frame2->setVisible(false);
}

void formCreateTrack::cmdCustom_Click() {
    CustomTrkMode = true;
    accept();
}

void formCreateTrack::updwnNumOfPts_Change() { lblNumOfPts->setText(QString::number(updwnNumOfPts->Value())); }

void formCreateTrack::cmdOk_Click() {
    const double r = Globals::WorldSize / 10.0;
    const int32_t n = updwnNumOfPts->Value();
    std::vector<double> points;
    points.reserve(3 * static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        const double a = 2.0 * i * std::numbers::pi / n;
        points.insert(points.end(), {r * std::cos(a), r * std::sin(a), 0.0});
    }
    create_(points, n, true);
    accept();
}
