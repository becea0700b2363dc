#include "formTip.h"

#include "platform/files.h"
#include "platform/program.h"
#include "platform/settings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kTipsFile = "TIPOFDAY.TXT";

struct TipState {
    std::vector<std::string> tips{""};  // from index 1
    int current = 0;
};

TipState& state() {
    static TipState s;
    return s;
}

}  // namespace

formTip::formTip(QWidget* parent) : QDialog(parent) {
    setObjectName("formTip");
    setWindowTitle("Tip of the Day");
    auto* heading = new QLabel("Did you know...", this);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    heading->setFont(bold);
    lblTipText = new QLabel(this);
    lblTipText->setObjectName("lblTipText");
    lblTipText->setWordWrap(true);
    lblTipText->setMinimumSize(360, 90);
    lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    chkLoadTipsAtStartup = new QCheckBox("&Show Tips at Startup", this);
    chkLoadTipsAtStartup->setObjectName("chkLoadTipsAtStartup");
    cmdNextTip = new QPushButton("&Next Tip", this);
    cmdNextTip->setObjectName("cmdNextTip");
    cmdOk = new QPushButton("OK", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkLoadTipsAtStartup);
    buttons->addStretch();
    buttons->addWidget(cmdNextTip);
    buttons->addWidget(cmdOk);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(lblTipText, 1);
    layout->addLayout(buttons);

    connect(cmdNextTip, &QPushButton::clicked, this, [this] { cmdNextTip_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(chkLoadTipsAtStartup, &QCheckBox::clicked, this, [this] { chkLoadTipsAtStartup_Click(); });
}

bool formTip::Form_Load() {
    if (platform::getSettingNumber(kTipsSection, kTipsKey, 1) == 0) {
        close();
        return false;
    }
    chkLoadTipsAtStartup->setChecked(true);
    chkLoadTipsAtStartup_Click();
    if (!LoadTips(platform::programFolder() + kTipsFile))
        lblTipText->setText(QString("That the ") + kTipsFile + " cannot be found ! \r\n\r\n");
    return true;
}

bool formTip::LoadTips(const std::string& path) {
    if (path.empty() || !platform::fileExists(path)) return false;
    const auto lines = platform::readLines(path);
    if (lines) state().tips.insert(state().tips.end(), lines->begin(), lines->end());
    NextTip();
    return true;
}

void formTip::NextTip() {
    TipState& s = state();
    ++s.current;
    if (s.current > static_cast<int>(s.tips.size()) - 1) s.current = 1;
    DisplayCurrentTip();
}

void formTip::DisplayCurrentTip() {
    const TipState& s = state();
    if (s.tips.size() > 1) lblTipText->setText(QString::fromStdString(s.tips[static_cast<std::size_t>(s.current)]));
}

void formTip::cmdNextTip_Click() { NextTip(); }

void formTip::cmdOk_Click() { close(); }

void formTip::chkLoadTipsAtStartup_Click() {
    platform::saveSetting(kTipsSection, kTipsKey, chkLoadTipsAtStartup->isChecked() ? "1" : "0");
}

const std::vector<std::string>& formTip::Tips() { return state().tips; }

int formTip::CurrentTip() { return state().current; }

void formTip::ForgetTips() { state() = TipState{}; }
