#include "formError.h"

#include "BugReport.h"
#include "Form1.h"

#include "core/Globals.h"
#include "platform/prompts.h"
#include "platform/shell.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

formError& formError::Instance() {
    // Created on first use and reused; it belongs to the main window, so it goes
    // with it.
    static QPointer<formError> window;
    if (!window) window = new formError(Form1::Instance());
    return *window;
}

formError::formError(QWidget* owner) : QDialog(owner) {
    setObjectName("formError");
    setWindowTitle("Error");
    setModal(true);
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
    Label1 = new QLabel("An unexpected error has occured.", this);
    Label1->setObjectName("Label1");
    Label2 = new QLabel("Please report this error to technical support so that we can serve you better.", this);
    Label2->setObjectName("Label2");
    Label3 = new QLabel(
        "Please list out the sequence of events that lead to this error in the text box given below. "
        "And then click on the \"E-mail Bug report\" button.",
        this);
    Label3->setObjectName("Label3");
    for (QLabel* l : {Label2, Label3}) l->setWordWrap(true);
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName("Text1");
    cmdEmailReport = new QPushButton("E-mail Bug report", this);
    cmdEmailReport->setObjectName("cmdEmailReport");
    cmdQuit = new QPushButton("Quit wihout sending debug information.", this);
    cmdQuit->setObjectName("cmdQuit");

    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->addWidget(Label1);
    texts->addWidget(Label2);
    texts->addWidget(Label3);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdEmailReport);
    buttons->addWidget(cmdQuit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Text1, 1);
    layout->addLayout(buttons);
    resize(520, 340);

    // The window's own handlers trap nothing.
    connect(cmdEmailReport, &QPushButton::clicked, this, [this] { cmdEmailReport_Click(); });
    connect(cmdQuit, &QPushButton::clicked, this, [this] { cmdQuit_Click(); });
}

void formError::ShowModal(QWidget* owner) {
    Text1->clear();  // every report starts empty, as a freshly loaded window
    platform::showModal(*this);
}

void formError::cmdEmailReport_Click() {
    const std::string events = Text1->toPlainText().toStdString();
    if (events.empty() &&
        platform::msgBox("Listing out the events that led to the error can simplify out debugging process greately, "
                         "so please take some time to mention the last few actions that led to the error.",
                         platform::MsgButtons::OKCancel, platform::MsgIcon::Information) == platform::MsgResult::OK)
        return;  // stays open for typing
    // A failing shell leaves no message.
    platform::shell().openLink(BugReport::MailLink(Globals::LastErrDescription, events));
    close();
}

void formError::cmdQuit_Click() { close(); }

void formError::done(int result) {
    const bool wasOpen = isVisible();
    QDialog::done(result);
    if (wasOpen) Form_Unload();
}

void formError::Form_Unload() { AskTerminate(); }

void formError::AskTerminate() {
    if (platform::msgBox("It might be possible to resume normally, although it is not recomended. Do you wish to "
                         "terminate the application?",
                         platform::MsgButtons::YesNo, platform::MsgIcon::Critical, "Error") != platform::MsgResult::Yes)
        return;
    Globals::AppTerminating = true;
    if (CloseMainWindow) CloseMainWindow();
}
