// The about window: the program's name and version and its three links.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class formAbout : public QDialog {
public:
    explicit formAbout(QWidget* parent = nullptr);

    // The documentation page, the support mail and the web site.
    void Label6_Click();
    void Label7_Click();
    void lblWebSite_Click();

    QLabel* Label6;
    QLabel* Label7;
    QLabel* lblWebSite;
    QPushButton* cmdOk;
};
