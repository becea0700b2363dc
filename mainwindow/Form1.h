// The main window: menus, toolbar, status bar, the workspace panel on the left
// and the four views on the right. Its load step creates the editor's shared
// objects, its activate step runs the program's main loop, its close steps ask
// to save and release everything. Controls and handlers keep the names the rest
// of the editor knows them by.
#pragma once

#include "KeyedTree.h"
#include "ViewAreaLayout.h"

#include "transform/TransformGizmo.h"
#include "views/ViewRedraw.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class PicWindow;
class SplitterHandle;

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolBar;

class Form1 : public QMainWindow, public views::ViewHost {
public:
    Form1();
    ~Form1() override;

    // The one main window of the program, or null.
    static Form1* Instance();

    // ---- state shared with the rest of the editor
    bool WorldLoaded = false;
    bool QuitFlag = false;
    int PicBoxFocused = 0;
    bool PicBoxHasFocus = false;
    bool ViewMaximized = false;
    bool ShowWireframe = false;
    bool DebugFlag = false;
    std::array<double, 2> SavedSplitterPos = {0.48, 0.48};
    // The transform handle of each view.
    std::array<std::unique_ptr<TransformGizmo>, 4> ViewGizmos;
    int32_t AddedWorldRootGrp = 0;
    double NewTrkPtCount = 0;

    // ---- start-up, main loop, shutdown
    // The load step; false when the program must end at once.
    bool Form_Load();
    // The main loop: runs until QuitFlag is set; returns the exit status.
    int Form_Activate();
    void Form_QueryUnload(int& Cancel, int UnloadMode);
    void Form_Unload(int& Cancel);
    void Form_Resize();
    void SetDebug() { DebugFlag = true; }
    std::string GetCommandLineFile() const;
    // The command line the load step reads instead of the program's own.
    std::optional<std::string> CommandLine;
    // The splash window (shown modally by the load step) and the tip of the day.
    // Their windows come with the world files; until then they show nothing.
    std::function<void()> ShowSplash;
    std::function<void()> ShowTips;
    // Takes every pending wheel message; the zoom itself comes with the view
    // navigation tools.
    void ScrollCheck();

    // ---- menus
    void mnu_Update();
    void mnuFile_Update();
    void mnuEdit_Update();
    void mnuView_Update();
    void mnuGrp_Update();
    void mnuCreate_Update();
    void mnuNew_Click();
    void mnuOpenFile_Click();
    void mnuAddWorld_Click();
    void mnuCloseFile_Click();
    // Whether the world was saved.
    bool mnuSave_Click();
    bool mnuSaveAs_Click();
    void mnuExit_Click();
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuToolbar_Click();
    void mnuStatusBar_Click();
    void mnuWorkspace_Click();
    void mnuExpertMode_Click();
    void mnuRedrawAllViews_Click();
    void mnuResetViews_Click();
    void mnuReference_Click();
    void mnuTutorial_Click();
    void mnuCamTrkBkMenuSaveCurrent_Click();
    void PresetCreatePanel(const std::string& ShapeName);
    void ToggleWireframe();
    void Toggle3DCard();
    void CreateLightMaps();
    void Toolbar1_ButtonClick(const std::string& key);
    // The pressed state (1) or not (0) of a toolbar button.
    int ToolbarButtonValue(const std::string& key) const;
    void SetToolbarButtonValue(const std::string& key, int value);
    QAction* Toolbar1_Button(const std::string& key) const;

    // ---- status bar and busy pointer
    void UpdateStatusBar();
    void SetMousePtrToHourGlass(bool Reset);
    QString StatusBarPanel(int panel) const;

    // ---- layout
    void tabWorkspace_Resize();
    void picWinsResize();
    void SetWindowFocus();
    void ToggleWindowMinMax();
    void imgSplitterHV_ResetPos(double xFraction, double yFraction);
    void trwGroupView_Resize();
    // The window's size in twips.
    double Width() const;
    double Height() const;
    ViewAreaLayout& ViewArea() { return viewArea_; }
    static constexpr double MinWidth = 10300;
    static constexpr double MinWorkspaceHeight = 6400;
    static constexpr double WorkspaceWidth = 5000;

    // ---- worlds (the rest of the File menu's machinery comes with the world files)
    void LoadWorld(const std::string& FileName);
    void NewWorld();
    void UnloadWorld();
    void LoadWorldWithOpenDialog();
    std::string GetOpenedFile();
    std::string GetSaveAsFile();
    int32_t GetWorldRootGrp();
    double GetWorldSize();
    void SetSaveFlagOnAll();
    void ResetCameras();

    // ---- workspace services of the later subsystems (their least versions)
    void ResetControls();
    void tabWorkspace_Click(int PreviousTab);
    void HideAllObjFrames();
    void cmbObj_Change();
    void cmbObjEditGeom_Change();
    void cmbTrackPoint_Populate();
    void cmbPolFilter_Populate();
    void cmbNewObjType_Populate();
    void cmdCreate_Click();
    void trwGroupView_Populate();
    void trwGroupView_Reset();
    void trwCamTrackBK_Populate();
    void trwCamTrackBK_Reset();
    void trwCamTrackBK_Collapse(QTreeWidgetItem* Node);
    void trwLight_Populate();
    void trwLight_Collapse(QTreeWidgetItem* Node);
    void trwTextures_Populate();
    bool IsGrpHidden(int32_t Grp) const;
    bool IsCamHidden(int32_t Cam) const;
    bool IsLightHidden(int32_t Light) const;
    void SetCamWorkspaceFrame_Params();
    void CamWorkspaceFrame_Resize(QGroupBox* Frame);
    void CamScrollBar_Resize();
    void frmLight_Resize();
    void LightScrollBar_Resize();
    void frmModelPreview_Resize();
    // The views' pointer by the name of its picture ("Select", "Cross hair", ...).
    void picWinSetMousePtr(const std::string& key);

    // ---- selection
    void mnuSelectAll_Click();
    void mnuSelectInvert_Click();
    // The point frame's Delete: the polygons owning the selected points go.
    void cmdEditPtDelete_Click();
    void treeViewHighlightCurrentSelectedAndDeHighlightPrevSelected();
    void treeViewHighlightNode(int32_t EntityHandle, int32_t EntityType);
    void treeViewDeHighlightNode(int32_t EntityHandle, int32_t EntityType);
    void ResetObjModeCombo();
    // The window's share of the selection-changed path: the previous kind's
    // panel, then the current one's (false: the path ends there).
    void LeaveSelectionPanel(int32_t PrevKind, int32_t CurrKind);
    bool EnterSelectionPanel(int32_t Kind, int32_t Handle);
    // The views' top-level groups in the group tree's order.
    std::vector<int32_t> TopLevelGroups() const;

    // ---- views::ViewHost
    bool IsWorldLoaded() const override { return WorldLoaded; }
    bool IsViewMaximized() const override { return ViewMaximized; }
    int ActiveView() const override { return PicBoxFocused; }
    PicWindow& View(int index) override { return *picWindow[static_cast<std::size_t>(index)]; }
    QWidget* TrapOwner() override { return this; }

    // ---- controls
    QMenu *mnuFile, *mnuEdit, *mnuView, *mnuGrp, *mnuCreate, *mnuHelp;
    QAction *mnuNew, *mnuOpenFile, *mnuAddWorld, *mnuCloseFile, *mnuSave, *mnuSaveAs, *mnuMru, *mnuExit;
    QAction *mnuUndo, *mnuRedo, *mnuSelectAll, *mnuSelectInvert, *mnuHold, *mnuFetch, *mnuPreference;
    QAction *mnuToolbar, *mnuStatusBar, *mnuWorkspace, *mnuHideSelected, *mnuHideUnSelected, *mnuUnhideAll,
        *mnuRedrawAllViews, *mnuResetViews, *mnuViewerMode, *mnuExpertMode;
    QAction *mnuGroup, *mnuUngroup, *mnuAttach, *mnuDetach, *mnuUngroupAll, *mnuGrpDelete, *mnuProperties;
    QMenu *mnuStdGroups, *mnuLight, *mnuTrack;
    QAction *mnuPlane, *mnuBox, *mnuSphere, *mnuCylinder, *mnuCone, *mnuTorus, *mnuCamera, *mnuOmnidirectional,
        *mnuDirectional, *mnuCircular, *mnuCustom, *mnuLightMaps;
    QAction *mnuReference, *mnuTutorial, *mnuTip, *mnuAbout;
    // Pop-up menus: never on the menu bar, shown at the pointer by their trees and views.
    QMenu *mnuModelGallery, *mnuTexture, *mnuWinView, *mnuGroupMenu, *mnuLightMenu, *mnuCamTrkBkMenu;
    QAction* mnuCamTrkBkMenuSaveCurrent;

    QToolBar* Toolbar1;
    QStatusBar* StatusBar1;
    QTabWidget* tabWorkspace;
    QComboBox *cmbObj, *cmbObjEditGeom, *cmbTrackPoint, *cmbPolFilter, *cmbNewObjType;
    QGroupBox *frmNewObj, *frmEditGeom, *frmEditTexture, *frmCam, *frmTrack, *frmBackground, *frmLight,
        *frmModelPreview, *frmEditGeomPoint, *frmEditGeomPolygon;
    QLineEdit *txtSelectedGrpName, *txtSelPolName;
    QCheckBox* chkGrpDyn;
    QPushButton* cmdCreate;
    KeyedTree *trwGroupView, *trwCamTrackBK, *trwLight, *trwTextures, *trwModel;
    QLabel* imgTexture;
    QTimer* tmrAnimPreview;

    QFrame* frmPicWins;
    std::array<PicWindow*, 4> picWindow{};
    std::array<QLabel*, 4> lblPicView{};
    std::array<SplitterHandle*, 2> imgSplitterHoriz{};
    std::array<SplitterHandle*, 2> imgSplitterVert{};
    SplitterHandle* imgSplitterHV;
    QWidget *picSplitterHoriz, *picSplitterVert;
    QFrame* shpFocus;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void buildWorkspace();
    void buildViews();
    void connectMenus();
    void connectEditorHooks();
    void connectSelectionHooks();
    void disconnectEditorHooks();
    void createUndoHistory();
    void createViewGizmos();
    void applyViewArea();
    void picWindow_MouseDown(int Index, int Button, int Shift, int X, int Y);
    void setCaption(const std::string& caption);
    void createViewCameras();
    void releaseCardToggle();
    void fillWorldControls();
    void enableWorldCommands();
    void toggleShown(QWidget* control, QAction* item);

    ViewAreaLayout viewArea_;
    std::map<std::string, QAction*> toolbarButtons_;  // by lower-case key
    std::array<QLabel*, 3> statusPanels_{};
    int savedViewPointer_ = 0;
    bool viewPointerSaved_ = false;
    bool resizing_ = false;
    bool unloaded_ = false;
};
