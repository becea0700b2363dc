// The error window of the standard error trap: says that something unexpected
// failed, lets the user list what led to it and mail the report, and on closing
// asks whether to end the program. One instance for the whole program.
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class formError : public QDialog {
public:
    static formError& Instance();

    // Shows the window modally (through the prompt seam), placed as every window
    // of the program is; owner is the window the error arose in.
    void ShowModal(QWidget* owner);
    // Ends the program after "terminate": closes the main window.
    std::function<void()> CloseMainWindow;

    void cmdEmailReport_Click();
    void cmdQuit_Click();

    QLabel *Label1, *Label2, *Label3, *Image1;
    QPlainTextEdit* Text1;
    QPushButton *cmdEmailReport, *cmdQuit;

    // Closing in any way runs the closing question.
    void done(int result) override;

private:
    explicit formError(QWidget* owner);
    void Form_Unload();
    void AskTerminate();
};
