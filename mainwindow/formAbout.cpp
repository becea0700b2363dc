#include "formAbout.h"

#include "AboutLinks.h"

#include "platform/shell.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* linkLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel("<a href=\"#\">" + text.toHtmlEscaped() + "</a>", parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    return label;
}

}  // namespace

formAbout::formAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("formAbout");
    setWindowTitle("About TALVORA");
    auto* title = new QLabel("TALVORA " + QCoreApplication::applicationVersion(), this);
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    title->setFont(big);
    auto* text = new QLabel("An interactive editor of 3D worlds, with its own engine, ombrel3.", this);
    text->setWordWrap(true);
    Label6 = linkLabel(this, "Label6", "Documentation");
    Label7 = linkLabel(this, "Label7", "Write to support");
    lblWebSite = linkLabel(this, "lblWebSite", kWebSite);
    cmdOk = new QPushButton("OK", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    for (QWidget* w : std::initializer_list<QWidget*>{title, text, Label6, Label7, lblWebSite}) layout->addWidget(w);
    layout->addWidget(cmdOk, 0, Qt::AlignRight);

    connect(Label6, &QLabel::linkActivated, this, [this] { Label6_Click(); });
    connect(Label7, &QLabel::linkActivated, this, [this] { Label7_Click(); });
    connect(lblWebSite, &QLabel::linkActivated, this, [this] { lblWebSite_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
}

void formAbout::Label6_Click() { platform::shell().openLink(kDocumentation); }

void formAbout::Label7_Click() { platform::shell().openLink(kSupportMail); }

void formAbout::lblWebSite_Click() { platform::shell().openLink(kWebSite); }
