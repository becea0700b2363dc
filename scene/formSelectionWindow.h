// The selection window: the world's top-level groups, cameras and lights by the
// names of their tree nodes, for one of three purposes chosen by its caller:
// look through a camera in a view, select entities by name, attach groups under
// the selected group. Each line keeps the handle of its entity, so entities of
// the same name stay apart. Hidden entities and nested groups are never listed.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <exception>
#include <string>

class QCheckBox;
class QGroupBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class formSelectionWindow : public QDialog {
    Q_OBJECT
public:
    enum Purpose : int32_t { ViewThroughCamera = 0, SelectByName = 1, AttachGroups = 2 };

    explicit formSelectionWindow(QWidget* owner = nullptr);
    ~formSelectionWindow() override;

    // -1 lists the kind and checks its box; LocSelectionType -1 locks the boxes;
    // MultipleSelectMode 0 shows the one-line list, 2 the several-line list.
    void SetSelectionType(int32_t TypeGrp, int32_t TypeCam, int32_t TypeLight, int16_t LocSelectionType,
                          int32_t Selection_Action, int32_t MultipleSelectMode);
    // The view whose menu opened the window (purpose 0).
    int16_t MenuIndex = 0;

    // The first line from the top whose text is Item exactly, or -1.
    static int GetListItemIndex(const QListWidget* List, const std::string& Item);
    // The entity a line stands for (kind 1 group, 2 camera, 4 light).
    static int32_t LineHandle(const QListWidgetItem* line);
    static int32_t LineKind(const QListWidgetItem* line);

    std::array<QListWidget*, 2> lstSelection{};
    QGroupBox* frmSelectionType;
    QCheckBox* chkGroups;
    QCheckBox* chkCams;
    QCheckBox* chkLights;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

    // The list shown, or null before loading.
    QListWidget* ShownList() const;
    // Whether the window's action ran before it closed.
    bool ActionDone() const { return actionDone_; }
    // An error of the action rises here, after the window closed (errors never
    // cross the window's own event loop).
    void RethrowActionError();

    // The handlers.
    void Form_Load();
    void RefillSelectionList();
    void cmdOk_Click();
    void cmdCancel_Click();
    void lstSelection_DblClick(int Index);
    void lstSelection_KeyPress(int Index, int KeyAscii);
    void Form_KeyPress(int KeyAscii);
    void Form_Unload();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    void done(int result) override;

private:
    void ApplySelectionType();
    void ChooseSelectionList(int32_t mode);
    void AddToList(int32_t kind);
    void MarkCurrentSelectionInList();
    void DoSelectionAction();
    void ViewThroughSelectedCamera();
    void SelectListedEntities();
    void AttachSelectedGroups();
    // Runs an action, keeping its error for the caller, then closes the window.
    void actAndClose();

    int32_t TypeGrp_ = 0, TypeCam_ = 0, TypeLight_ = 0;
    int16_t LocSelectionType_ = -1;
    int32_t Selection_Action_ = SelectByName;
    int32_t MultipleSelectMode_ = 0;
    int32_t purpose_ = SelectByName;
    int shownIndex_ = -1;
    bool loading_ = false;
    bool loaded_ = false;
    bool unloaded_ = false;
    bool actionDone_ = false;
    std::exception_ptr actionError_;
};

namespace scene {

// Sets the window up, shows it modally over owner and rethrows its action's
// error; true when the action ran (OK, double click or Enter).
bool ShowSelectionWindow(QWidget* owner, int32_t TypeGrp, int32_t TypeCam, int32_t TypeLight,
                         int16_t LocSelectionType, int32_t Selection_Action, int32_t MultipleSelectMode,
                         int16_t MenuIndex = 0);

}  // namespace scene
