// The tip of the day. The tips and the number of the tip shown last live as long
// as the program: every opening reads the tips file once more and moves one tip on.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

class formTip : public QDialog {
public:
    explicit formTip(QWidget* parent = nullptr);

    // The load step; false when the window closed itself because the user turned
    // the tips off at start-up.
    bool Form_Load();
    // Appends the file's lines to the tips and shows the next one; false when
    // the path is empty or no such file exists.
    bool LoadTips(const std::string& path);
    void NextTip();
    void DisplayCurrentTip();
    void cmdNextTip_Click();
    void cmdOk_Click();
    void chkLoadTipsAtStartup_Click();

    static const std::vector<std::string>& Tips();
    static int CurrentTip();
    // A fresh program's state: no tips read, none shown.
    static void ForgetTips();

    QLabel* lblTipText;
    QCheckBox* chkLoadTipsAtStartup;
    QPushButton* cmdNextTip;
    QPushButton* cmdOk;
};

// The settings key of the start-up tips ("1" or "0"; missing counts as 1).
inline constexpr const char* kTipsSection = "Options";
inline constexpr const char* kTipsKey = "Show Tips at Startup";
