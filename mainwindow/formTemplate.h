// The template chooser that follows a new world: "New" keeps the world empty,
// any other entry merges that template from the Templates folder.
#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QListWidget;
class QPushButton;

class formTemplate : public QDialog {
public:
    // merge: merges a template file into the open world; zoomAll: frames the
    // whole world in the views afterwards.
    formTemplate(std::function<void(const std::string& file)> merge, std::function<void()> zoomAll,
                 QWidget* parent = nullptr);

    void Form_Load();
    // "New", then each ".wld" file of the folder (any letter case) by its name
    // without the extension; the first entry selected. Errors leave what is listed.
    void FillList(const std::string& folder);
    void cmdOk_Click();
    void cmdCancel_Click();
    void List1_DblClick();

    QListWidget* List1;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::string folder_;
    std::function<void(const std::string&)> merge_;
    std::function<void()> zoomAll_;
};

// The templates' folder beside the program, with a trailing "/".
std::string TemplatesFolder();
