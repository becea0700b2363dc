// The main window: menus, toolbar, status bar, the workspace panel on the left
// and the four views on the right. Its load step creates the editor's shared
// objects, its activate step runs the program's main loop, its close steps ask
// to save and release everything. Controls and handlers keep the names the rest
// of the editor knows them by.
#pragma once

#include "KeyedTree.h"
#include "ViewAreaLayout.h"

#include "textures/AnimPreview.h"
#include "textures/TextureNodes.h"
#include "transform/TransformGizmo.h"
#include "undo/MergedEntities.h"
#include "views/FreeView.h"
#include "views/ViewRedraw.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ModelGalleryInput;
class MostRecentUsedFiles;
class PicWindow;
namespace geometry {
struct PrimitiveBuilders;
}
namespace platform {
class NumericField;
class UpDown;
}  // namespace platform
class SplitterHandle;
class formTip;
namespace textures {
class PicturePreview;
}

class QAction;
class QCheckBox;
class QMimeData;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QMenu;
class QPoint;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QTimer;
class QListWidget;
class QScrollArea;
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
    // What the last merge brought besides its groups; its undo record takes it.
    WorldEntities AddedWorldEntities;
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
    // The splash window (shown modally by the load step) and the tip of the day;
    // empty (nothing shown) until InstallStartupWindows fills them, as main does.
    std::function<void()> ShowSplash;
    std::function<void()> ShowTips;
    // Once per pass of the main loop: zooms the active view one step in the
    // direction of the last wheel notch.
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
    // File > Exit after its question: the world closed unsaved, then the window.
    void ExitProgram();
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

    // ---- world files, recent files, hold and fetch, start-up windows
    // Merges a world file at Location; its root group goes to AddedWorldRootGrp (0 on failure).
    void AddWorld(const std::string& FileName, const std::array<double, 3>& Location);
    void AddWorldWithUndo();
    // Asks "Save changes?" before a command discards the open world; false when
    // the command must not go on (Cancel, or Yes and the save did not complete).
    bool ConfirmDiscardWorld();
    void mnuMru_Click(int Index);
    void mnuHold_Click();
    void mnuFetch_Click();
    void mnuViewerMode_Click();
    void mnuTip_Click();
    void mnuAbout_Click();
    // The template chooser that follows a new world.
    void ShowTemplates();
    // Points ShowSplash and ShowTips at the real splash and tips windows.
    void InstallStartupWindows();
    // The recent-files list at the end of the File menu, loaded from the settings.
    void CreateRecentFiles();
    std::unique_ptr<MostRecentUsedFiles> MRUList;

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
    void treeViewHighlightCurrentSelectedAndDeHighlightPrevSelected();
    void treeViewHighlightNode(int32_t EntityHandle, int32_t EntityType);
    void treeViewDeHighlightNode(int32_t EntityHandle, int32_t EntityType);
    void ResetObjModeCombo();
    // The window's share of the selection-changed path: the previous kind's
    // panel, then the current one's (false: the path ends there).
    void LeaveSelectionPanel(int32_t PrevKind, int32_t CurrKind);
    bool EnterSelectionPanel(int32_t Kind, int32_t Handle);
    // The selected camera's or light's panel filled again from the engine.
    void RefillEntityPanel();
    // Nothing selected after a tree's Delete, in the trees and panels too.
    void deselectAfterDeletion();
    // The views' top-level groups in the group tree's order.
    std::vector<int32_t> TopLevelGroups() const;

    // ---- deleting, hiding and showing, creating cameras and lights, and the
    // pop-up menus of the group, light and camera trees
    void DeleteGroup(int32_t Grp);
    void DeleteCamera(int32_t Cam);
    void DeleteLight(int32_t Light);
    void DeleteMultiple();
    void mnuHideSelected_Click();
    void mnuHideUnSelected_Click();
    void mnuUnhideAll_Click();
    void mnuGroupMenuRemoveFrmGrp_Click();
    void mnuGroupMenuUngroup_Click();
    void mnuGroupMenuRemoveLight_Click();
    void mnuGroupMenuRemoveLightMaps_Click();
    void mnuGroupMenuDelete_Click();
    void mnuGroupMenuHide_Click();
    void mnuGroupMenuUnhide_Click();
    void mnuGroupMenuProperties_Click();
    void SetLightMenuItems();
    void mnuLightMenuNew_Click();
    void mnuLightMenuDelete_Click();
    void mnuLightMenuHide_Click();
    void mnuLightMenuUnhide_Click();
    void mnuLightMenuHideAll_Click();
    void mnuLightMenuShowAll_Click();
    void SetCamTrkBkMenuItems();
    void mnuCamTrkBkMenuNew_Click();
    void mnuCamTrkBkMenuDelete_Click();
    void mnuCamTrkBkMenuHide_Click();
    void mnuCamTrkBkMenuUnhide_Click();
    void mnuCamTrkBkMenuHideAll_Click();
    void mnuCamTrkBkMenuShowAll_Click();
    // Kind 0 omnidirectional, 1 directional.
    void CreateNewLight(int32_t Kind);
    void CreateNewCamera();
    void CreateNewBackground();
    std::string GetNewTrkName() const;
    // Windows and commands of the later tools the menus and the Delete key
    // reach; each does nothing until its tools fill it in.
    std::function<void()> ShowGrpProperties;          // formGrpProperties, modal
    QAction *mnuGroupMenuRemoveFrmGrp, *mnuGroupMenuUngroup, *mnuGroupMenuRemoveLight, *mnuGroupMenuRemoveLightMaps,
        *mnuGroupMenuDelete, *mnuGroupMenuHide, *mnuGroupMenuUnhide, *mnuGroupMenuProperties;
    QAction *mnuLightMenuNew, *mnuLightMenuDelete, *mnuLightMenuHide, *mnuLightMenuUnhide, *mnuLightMenuHideAll,
        *mnuLightMenuShowAll;
    QAction *mnuCamTrkBkMenuNew, *mnuCamTrkBkMenuDelete, *mnuCamTrkBkMenuHide, *mnuCamTrkBkMenuUnhide,
        *mnuCamTrkBkMenuHideAll, *mnuCamTrkBkMenuShowAll;

    // ---- model gallery
    // The model being dragged out of the gallery; a drop on a view reads and empties it.
    std::string GalleryDragFile;
    // Set after a model was dropped on a view: the next repaint of the preview reloads it.
    bool RefreshModelPreview = false;
    QLabel *picModelPreview = nullptr, *picNoPreview = nullptr;
    QAction *mnuModelGalleryAdd = nullptr, *mnuModelGalleryAddFolder = nullptr,
            *mnuModelGalleryDeleteFolder = nullptr, *mnuModelGalleryRemove = nullptr;
    void trwModel_Expand(QTreeWidgetItem* Node);
    void trwModel_Collapse(QTreeWidgetItem* Node);
    void trwModel_NodeClick(QTreeWidgetItem* Node);
    // Button 2 pops the menu up for the node at (x, y), which becomes the selected node.
    void trwModel_MouseUp(int Button, int Shift, int x, int y);
    void ShowModelPreview(QTreeWidgetItem* Node);
    void picModelPreview_Paint();
    void mnuModelGalleryAdd_Click();
    void mnuModelGalleryAddFolder_Click();
    void mnuModelGalleryDeleteFolder_Click();
    void mnuModelGalleryRemove_Click();
    // Puts the selected model's path in the drag data and in GalleryDragFile and
    // allows a move; a folder allows nothing; with no node selected nothing is set.
    std::optional<Qt::DropActions> picModelPreview_OLEStartDrag(QMimeData& Data);
    // A drag passing over the preview: Effect 2 (move) while the selected node is a
    // model, otherwise 0.
    void picModelPreview_OLEDragOver(const QMimeData* Data, int& Effect);

    // ---- view input, tool mode, toolbar, keyboard and zoom commands
    // Presses the tool's button (releasing the others) and sets CurrToolMode;
    // the views' pointers stay as they are.
    void SetToolMode(int32_t mode);
    // The active view's pointer over the handle of a transform tool.
    void SetMousePointer();
    // The default pointer in every view.
    void ResetMousePointer();
    void picWindow_GotFocus(int Index);
    void picWindow_LostFocus(int Index);
    // Button 1 left, 2 right, 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt; view pixels.
    void picWindow_MouseDown(int Index, int Button, int Shift, float X, float Y);
    void picWindow_MouseMove(int Index, int Button, int Shift, float X, float Y);
    void picWindow_MouseUp(int Index, int Button, int Shift, float X, float Y);
    // Effect: 0 refuses the drop, 1 accepts it as a copy.
    void picWindow_OLEDragOver(int Index, const QMimeData* Data, int& Effect);
    void picWindow_OLEDragDrop(int Index, const QMimeData* Data, int& Effect, int Button, int Shift, float X, float Y);
    // Redraws the active view's handle on its transient layer and sets the pointer.
    void UpdateTransformGizmo(int Button, float X, float Y);
    // X, Y in the toolbar's pixels.
    void Toolbar1_MouseUp(int Button, int Shift, float X, float Y);
    void ZoomExtent(int view);
    void ZoomExtentAll();
    void CenterObjInView();
    void ShowDuplicateWindow();
    // The key preview: polls the live key state, runs at most one command.
    void Form_KeyDown(int KeyCode, int Shift);
    void DeleteSelEntity();
    // Windows of the later subsystems, shown by the toolbar and the keyboard;
    // each does nothing until its subsystem fills it in.
    std::function<void()> ShowSelectByNameWindow;
    std::function<void()> ShowAtmosphereWindow;   // formAtmsEffect, modal
    std::function<void()> ShowDuplicateDialog;    // formDuplicate, modal
    std::function<void()> cmdEditPtDelete_Click;  // deletes the selected points

    // ---- workspace panel: pages, object modes, group and colour controls
    void EnableWorkSpaceGroupsTab(bool Enable);
    void EnableWorkSpaceEditGroupTab(bool Enable);
    void EnableWorkSpaceCamTrkBkTab(bool Enable);
    void EnableWorkSpaceLightTab(bool Enable);
    void DisableAllWorkSpaceTabs();
    void HideAllEditGeomFrames();
    void SetGrpWorkspaceFrame_Params();
    void cmbTrackPoint_Change();
    void cmdGrpClr_Click();
    void cmdLightColor_Click();
    void cmdCamEditChase_Click();
    void cmdEditGeomChase_Click();
    // The colour shown on a colour button, as 0x00BBGGRR.
    static int32_t BackColor(const QPushButton* button);
    // The chase dialog (formCamChaseParams, modal) and the group tree menu's item
    // set-up; each does nothing until its tools fill it in.
    std::function<void()> ShowCamChaseParams;
    std::function<void()> SetGroupMenuItems;

    // ---- group tree
    // Adds the nodes of every group below Grp under Grp's node, or at the top
    // level when ChildrenAtTopLevel (Grp has no node: the root group).
    void trwGroupView_PopulateRecursive(int32_t Grp, bool ChildrenAtTopLevel = false);
    void trwGroupView_NodeClick(QTreeWidgetItem* Node);
    // The text the node keeps, or nothing when the edit is refused.
    std::optional<std::string> trwGroupView_AfterLabelEdit(QTreeWidgetItem* Node, const std::string& NewString);
    // Button 2 on a group node selects it and pops up the group tree menu.
    void trwGroupView_MouseUp(int Button, int Shift, int x, int y);
    void txtSelectedGrpName_Change();
    void txtSelectedGrpName_KeyPress(int KeyAscii);
    void txtSelectedGrpName_LostFocus();
    // The unapplied-edit mark of the group name field (its text in bold).
    bool GrpNameEditMarked() const;
    // The node hooks of the deletion and undo records.
    void AddGroupNode(int32_t Grp, int32_t Father);
    void RemoveGroupNode(int32_t Grp);
    int groupNodeIndexAsInEngine(const std::string& parentKey, int32_t Grp, int32_t Father) const;
    void AddPolNode(int32_t Pol, int32_t Grp);
    void RemovePolNode(int32_t Pol);

    // ---- polygon panel: the "Polygon" frame of "Edit Geometry"
    void txtSelPolName_Change();
    void txtSelPolName_KeyPress(int KeyAscii);
    void txtSelPolName_LostFocus();
    void cmdFlipPol_Click();
    void cmdDeletePol_Click();
    void cmdDetachPols_Click();
    void chkPolRotated_Click();
    void updwnPolLightDimu_Change();
    void updwnPolLightDimu_MouseUp();
    void txtPolLightDimu_Change();
    void txtPolLightDimu_KeyPress(int KeyAscii);
    // Applies the light diminution.
    void txtPolLightDimu_LostFocus();
    void cmbPolFilter_Click();
    void cmbPolFilter_Change();
    void cmbPolFilter_SetAccordingToSelPol();
    void chkEditPolTrans_Click();
    void cmdPoltextureTransparentClr_Click();
    void UpdateEditGeomTabBasedOnPolsSelected();
    // The undo records' way to the frame's controls (the window hooks).
    void SetPolRotatedBox(bool Checked);
    void SetPolLightDimuText(double Value);
    void ShowSelPolFilter();
    void SetPolTransparentControls(bool On, int32_t Colour);
    // The unapplied-edit marks of the name and light diminution fields.
    bool PolNameEditMarked() const;
    bool PolLightDimuEditMarked() const;
    // Set just before chkEditPolTrans_Click unchecks its own box: the click that
    // raises is swallowed.
    bool SkipPolTransClick = false;
    // The transparent-colour picker (formTrnsClrPcr) shown modally in a mode
    // (CurrMode 0: the selected polygon's bitmap); nothing until the texture
    // tools fill it in.
    std::function<void(int CurrMode)> ShowTrnsClrPcr;
    // The back colour of a button in the system's button face (&H8000000F).
    static constexpr int32_t ButtonFaceColour = static_cast<int32_t>(0x8000000F);

    // ---- group commands: reduce, triangulate, static or dynamic, the Group menu
    void cmdReducePols_Click();
    void cmdTriangulate_Click();
    // The replacement of the selected group by NewGrp, a copy the engine just made:
    // the copy takes the old name and node place, the old group is fake-deleted
    // with one undo record, and the copy is selected without points or polygons.
    void ReplaceSelectedGroup(int32_t NewGrp);
    void chkGrpDyn_Click();
    void EnableGrpMenuItems();
    void ResetGrpMenuItems();
    void mnuGroup_Click();
    // GrpName comes back as the name the new group got.
    void GroupSelectedUnderNewGrp(std::string& GrpName);
    void mnuUngroup_Click();
    void mnuAttach_Click();
    void mnuDetach_Click();
    void mnuUngroupAll_Click();
    void UngroupAllRecursive();
    void mnuGrpDelete_Click();
    void mnuProperties_Click();

    // ---- views::ViewHost
    bool IsWorldLoaded() const override { return WorldLoaded; }
    bool IsViewMaximized() const override { return ViewMaximized; }
    int ActiveView() const override { return PicBoxFocused; }
    PicWindow& View(int index) override { return *picWindow[static_cast<std::size_t>(index)]; }
    QWidget* TrapOwner() override { return this; }
    bool ShowsWireframe() const override { return ShowWireframe; }
    bool IsEntityHidden(int32_t kind, int32_t handle) const override;
    TransformGizmo* Gizmo(int index) override { return ViewGizmos[static_cast<std::size_t>(index)].get(); }
    bool EditingPoints() const override;
    bool ShowsBackground(int index) const override;

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
    QGroupBox *frmObj, *frmEditGeomSubObj, *frmTrackPoint;
    QPushButton *cmdGrpClr, *cmdTriangulate, *cmdReducePols, *cmdEditGeomChase, *cmdLightColor, *cmdCamEditChase,
        *cmdEditPtDelete;
    QCheckBox* chkIgnoreBackFacedForPtSel;
    QPushButton *cmdFlipPol, *cmdDeletePol, *cmdDetachPols, *cmdPoltextureTransparentClr;
    QCheckBox *chkPolRotated, *chkEditPolTrans, *chkIgnoreBackFacedForPolSel;
    platform::NumericField* fldPolLightDimu;  // txtPolLightDimu with updwnPolLightDimu
    QLineEdit* txtPolLightDimu;
    platform::UpDown* updwnPolLightDimu;

    QFrame* frmPicWins;
    std::array<PicWindow*, 4> picWindow{};
    std::array<QLabel*, 4> lblPicView{};
    std::array<SplitterHandle*, 2> imgSplitterHoriz{};
    std::array<SplitterHandle*, 2> imgSplitterVert{};
    SplitterHandle* imgSplitterHV;
    QWidget *picSplitterHoriz, *picSplitterVert;
    QFrame* shpFocus;

    // ---- light tree and light panel
    // Set while the panel is being filled from the engine: its handlers then write nothing.
    bool SettingLightParams = false;
    bool SettingLightType = false;
    void trwLight_NodeClick(QTreeWidgetItem* Node);
    // The text the node keeps, or nothing when the edit is refused.
    std::optional<std::string> trwLight_AfterLabelEdit(QTreeWidgetItem* Node, const std::string& NewString);
    void trwLight_Expand(QTreeWidgetItem* Node);
    // Button 2 over a node selects it (as its click does) and pops up the light menu.
    void trwLight_MouseUp(int Button, int Shift, int x, int y);
    void frmLight_SetParameters(int32_t Light);
    void cmbLightTraget_Populate(int32_t Light);
    void lstLightType_UnselectAll();
    void RemoveLightFromTopGroups();
    void LightScrollBarVisibility(bool Visible);
    void SetLightScrollBar();
    void lstLightType_Click();
    void opnLightTypeDefault_Click();
    void opnLightTypeCustom_Click();
    void opnDecalLinearly_Click();
    void opnDecayAsSquare_Click();
    void cmbLightTraget_Change();
    void cmbLightTraget_Click();
    void chkLightOn_Click();
    void chkLightRaytracing_Click();
    void chkAutoUpdate_Click();
    // The apply steps of the numeric fields (Enter, leaving, a spinner click).
    void txtLightLoc_LostFocus(int Index);
    void txtLightDir_LostFocus(int Index);
    void txtAmbient_LostFocus();
    void txtDiffuse_LostFocus();
    void txtSpecular_LostFocus();
    void txtShine_LostFocus();
    void txtDistanceReach_LostFocus();
    // Each field's text is txt..., its spinner updwn... (fldLightLoc[0]->text() is txtLightLoc(0)).
    std::array<platform::NumericField*, 3> fldLightLoc{}, fldLightDir{};
    platform::NumericField *fldAmbient = nullptr, *fldDiffuse = nullptr, *fldSpecular = nullptr, *fldShine = nullptr,
                           *fldDistanceReach = nullptr;
    QCheckBox *chkAutoUpdate = nullptr, *chkLightOn = nullptr, *chkLightRaytracing = nullptr;
    QRadioButton *opnLightTypeDefault = nullptr, *opnLightTypeCustom = nullptr, *opnDecalLinearly = nullptr,
                 *opnDecayAsSquare = nullptr;
    QListWidget* lstLightType = nullptr;
    QComboBox* cmbLightTraget = nullptr;
    // The window the panel's content scrolls in, and the content.
    QScrollArea* frmLightDummy = nullptr;
    QWidget* frmLightContainer = nullptr;
    // ---- create panel (frmNewObj): the kind, three dimension and three count
    // fields, each value kept in its spinner's Tag
    std::map<int, QLabel*> Label23;  // 25 + count field, 30 + dimension field
    std::array<platform::NumericField*, 3> fldBoxDim{}, fldBoxSegments{};
    std::array<QLineEdit*, 3> txtBoxDim{}, txtBoxSegments{};
    std::array<platform::UpDown*, 3> updwnBoxDim{}, updwnBoxSegments{};
    // The six builders, made by the load step.
    std::unique_ptr<geometry::PrimitiveBuilders> PrimitiveBuilders;
    void cmbNewObjType_Change();
    void SetDimField(int Index, bool Visible, const std::string& Caption, double Value);
    void SetSegField(int Index, bool Visible, const std::string& Caption, double Value);
    void SetSegMinimums(int32_t Min0, int32_t Min1, int32_t Min2);
    void txtBoxDim_Change(int Index);
    void txtBoxSegments_Change(int Index);
    void txtBoxSegments_LostFocus(int Index);
    void updwnBoxDim_Change(int Index);
    void updwnBoxSegments_Change(int Index);

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
    // ---- deletion, hiding and the tree menus (private steps)
    void connectSceneTreeMenus();
    void prepareGroupMenu();  // SetGroupMenuItems
    void connectDeletionHooks();
    // The view shows what it showed before it looked through a world camera.
    void releaseView(int Index);
    // Each view's state before it looked through a world camera, and the views
    // each deleted camera was seen through.
    std::array<std::optional<views::FreeView>, 4> freeViews_{};
    std::map<int32_t, std::vector<int>> viewsOfDeletedCameras_;
    // Deletes a camera (recorded), a track (recorded) or a background (at once);
    // the tree's folder of that kind becomes its selected node.
    void DeleteCamTrkBkEntity(int32_t Kind, int32_t Handle);
    // ---- view input (private steps)
    void connectViewInput(PicWindow* view);
    void installKeyPreview();
    void watchToolbarReleases();
    void picWindow_MouseMove_MoveRotateScale(int Index, int Button, int Shift, float X, float Y);
    void picWindow_MouseMove_PanRevolveZoomCammoveCamroll(int Index, int Button, int Shift, float X, float Y);
    // The select tool's move (rubber band) and release (picking, points, polygons).
    void picWindow_MouseMove_Select(int Index, int Button, float X, float Y);
    void picWindow_MouseUp_Select(int Index, int Button, float X, float Y);
    // Merges the dragged gallery model at the drop point.
    void picWindow_DropGalleryModel(int Index, float X, float Y);
    // The merged AddedWorldRootGrp becomes the selection, with its creation on the
    // undo history; the selection-change work follows. The caller redraws.
    void SelectAddedWorld();
    bool IsCutMode() const;
    bool IsPointEditing() const;
    bool IsPolygonEditing() const;
    void setCaption(const std::string& caption);
    void createViewCameras();
    void releaseCardToggle();
    void fillWorldControls();
    void enableWorldCommands();
    void toggleShown(QWidget* control, QAction* item);
    void populateWorldTrees();
    // Writes the world; "Error Saving World" with the engine's reason below it, and
    // false, when the engine failed.
    bool saveWorldTo(const std::string& path);
    void connectWorldMenus();
    std::unique_ptr<formTip> startupTip_;
    void buildModelGallery();
    void centreModelPreview();
    void DragGalleryModel();

    // The create panel's fields and the duplicate dialog's hook.
    void buildGeometryTools();

    ViewAreaLayout viewArea_;
    std::map<std::string, QAction*> toolbarButtons_;  // by lower-case key
    std::array<QLabel*, 3> statusPanels_{};
    int savedViewPointer_ = 0;
    bool viewPointerSaved_ = false;
    bool resizing_ = false;
    bool unloaded_ = false;
    QObject* keyPreview_ = nullptr;
    // Gives the active view the keyboard focus, so the keys go where the frame says.
    void focusActiveView();
    // Ends a drag of the view's transform handle as its release would.
    void endHandleDrag(int Index);
    // ---- workspace panel (private steps)
    void buildEditGroupPage(QWidget* page);
    void connectWorkspace();
    void connectSceneTreeHooks();
    void connectGroupCommands();
    void connectGroupTree();
    // Where a group's node stood among its siblings when it was taken out of the
    // tree: brought back under the same parent, it stands there again.
    struct NodePlace {
        std::string parentKey;
        int index = -1;
    };
    std::map<int32_t, NodePlace> groupNodePlaces_;
    // Polygons whose "Pol" nodes went with their group's node: they come back
    // with it.
    std::set<int32_t> polNodesAway_;
    void restorePolNodesBelow(int32_t Grp);
    void setBackColor(QPushButton* button, int32_t colour);
    // ---- light tree and light panel (private steps)
    void buildLightPanel();
    void connectLightPanel();
    void connectLightTree();
    bool lightPanelLive() const;
    void popUpLightMenu(const QPoint& at);
    // ---- polygon panel (private steps)
    void buildPolygonFrame();
    void connectPolygonPanel();
    void connectPolygonPanelHooks();
    // Set while an undo record writes chkEditPolTrans: its click handling stays out.
    bool polTransWrittenByRecord_ = false;

    // ---- texture editing (frame frmEditTexture): the texture-coordinate editor and planar mapping
public:
    QPushButton* cmdEditTexture = nullptr;
    QGroupBox* frmMappingPlane = nullptr;  // "Mapping Plane Normal"
    std::array<QRadioButton*, 4> opnNormal{};  // "X", "Y", "Z", "Averaged Normals"
    QPushButton* cmdPlanarMap = nullptr;
    // Opens the texture-coordinate editor (frmTextureMapping) for the selected group.
    void cmdEditTexture_Click();
    void cmdPlanarMap_Click();

private:
    void buildEditTextureFrame();

    // ---- tracks: the selected track's points (frmTrackPoint), deleting tracks,
    // creating circular tracks and laying custom ones
public:
    QToolBar* tlbrBtnInsert = nullptr;  // its one check button inserts points
    QPushButton* cmdTrkPtDelete = nullptr;
    // The edge the last move in insert mode found under the pointer.
    bool TrkInsertEdgeFound = false;
    int32_t TrkInsertEdgeIdx = 0;
    std::array<double, 3> TrkInsertPt = {0, 0, 0};
    // The custom track being laid: x, y, z of the first NewTrkPtCount points.
    std::vector<double> NewTrkPts = std::vector<double>(1, 0.0);
    // Clicks in a row that hit no polygon while laying; kept from one laying to the next.
    int32_t EmptyClickCount = 0;
    // The insert button is pressed.
    bool InsertingTrackPts() const;
    // Camera page, "Point" and a track selected.
    bool IsTrackPointEditing() const;
    void tlbrBtnInsert_ButtonClick();
    // A click or band of the select tool over the selected track's points.
    void SelectTrackPts();
    void FindTrackEdgeUnderCursor(int Button, float X, float Y);
    void InsertTrackPt();
    void cmdTrkPtDelete_Click();
    // The deletion goes on the history naming this track, then the track goes.
    void DeleteTrack(int32_t Track);
    // The track-creation dialog, modal; Custom starts laying.
    void StartTrackCreation();
    // Create > Track > Circular: a circular track of the dialog's default count.
    void mnuCircular_Click();
    // Create > Track > Custom: laying starts.
    void mnuCustom_Click();
    void NewTrack_MouseUp(int Button, float X, float Y);
    void EndTrackCreation();
    bool LaidTrackPoints(const double*& points, int32_t& count) const override;

private:
    void buildTrackPointFrame();
    void connectTrackHooks();
    // The engine track with its node, made the current selection.
    int32_t MakeTrack(const std::vector<double>& points, int32_t count, bool cyclic);
    // Its centre, the redraw, the panels and the creation record.
    void FinishTrackCreation();
    void CreateTrack(const std::vector<double>& points, int32_t count, bool cyclic);
    // Makes the active view's camera current for a projection or a pick.
    void makeActiveViewCurrent();

    // ---- the camera, track and background tree, the camera work space and
    // panel, the background panel and the view menu
public:
    // The button of the last press on the camera tree (1 left, 2 right, 4
    // middle); a node click is acted on only after a left press.
    int16_t CamTrkBkMouseButton = 0;
    // Set while a panel is filled from the engine: its handlers then write nothing.
    bool SettingCamParams = false;
    bool SettingBkgParams = false;
    void trwCamTrackBK_NodeClick(QTreeWidgetItem* Node);
    // The text the node keeps, or nothing when the edit is refused.
    std::optional<std::string> trwCamTrackBK_AfterLabelEdit(QTreeWidgetItem* Node, const std::string& NewString);
    void trwCamTrackBK_Expand(QTreeWidgetItem* Node);
    // A press makes the node under the pointer the tree's selected node; the
    // editor's selection changes only with a left click.
    void trwCamTrackBK_MouseDown(int Button, int Shift, int x, int y);
    // Button 2 over a node pops up the tree menu for it.
    void trwCamTrackBK_MouseUp(int Button, int Shift, int x, int y);
    // The track branch of a node click: the track's frame, its points cleared and
    // its centre; false when the track is the selection already.
    bool SelectTrackFromTree(int32_t Track);

    // Work space below the tree: at most one of frmCam, frmTrack, frmBackground.
    void ResetCamWorkSpaceFrame();
    void SetCamWorkspaceFrame(QGroupBox* Frame);
    void ShowWorkSpCamScrollBar();
    void HideWorkSpCamScorllBar();
    // The camera panel: location and direction x, y, z, field of view and
    // distance from eye of the selected camera (fldCamLoc[0]->text() is txtCamLoc(0)).
    QScrollArea* frmContainerDummy = nullptr;
    QWidget* frmScrollContainerCam = nullptr;
    std::array<platform::NumericField*, 3> fldCamLoc{}, fldCamDir{};
    platform::NumericField *fldFOV = nullptr, *fldCamDistFrmEye = nullptr;
    // The apply steps (Enter, leaving a field, a spinner click).
    void txtCamLoc_LostFocus(int Index);
    void txtCamDir_LostFocus(int Index);
    void txtFOV_LostFocus();
    void txtCamDistFrmEye_LostFocus();

    // The background panel. Its text fields as a control array, in this order.
    enum BkgField { BkgName = 0, BkgDist, BkgBottom, BkgBottomInt, BkgIntStp };
    std::array<QLineEdit*, 5> txtBkg{};
    QLineEdit *txtBkgName = nullptr, *txtBkgDist = nullptr, *txtBkgBottom = nullptr, *txtBkgBottomInt = nullptr,
              *txtBkgIntStp = nullptr, *txtBkgMap = nullptr;
    QPushButton* cmbBkgMap = nullptr;
    void frmBackground_SetParameters();
    void txtBkg_Change(int Field);
    void txtBkg_KeyPress(int Field, int KeyAscii);
    void txtBkg_LostFocus(int Field);
    // The pending-edit mark of a field (its text in bold).
    bool BkgEditMarked(int Field) const;
    void cmbBkgMap_Click();
    // The name field shows the background's new name, unmarked (a rename elsewhere).
    void ShowBkgName(const std::string& Name);

    // The view menu: a release on a view's label opens it while a world is open.
    QAction *mnuWinViewTop = nullptr, *mnuWinViewsBottom = nullptr, *mnuWinViewLeft = nullptr,
            *mnuWinViewRight = nullptr, *mnuWinViewFront = nullptr, *mnuWinViewBack = nullptr,
            *mnuWinViewPerspective = nullptr, *mnuWinViewCam = nullptr;
    void lblPicView_MouseUp(int Index, int Button, int Shift, float X, float Y);
    void mnuWinViewCam_Click();
    // Sets the view's navigation camera for a type 0 to 6 and captions its label.
    void SetViewType(int Index, int32_t Type);
    // The view's caption; any caption but "Camera" detaches the view from the
    // world camera it looked through.
    void SetViewCaption(int Index, const std::string& Caption);
    // The view looks through the world camera: its record, caption and tool tip.
    void SetViewedCamera(int Index, int32_t Camera);
    // The views that look through the camera name it so in their labels' tool tips.
    void NameViewedCamera(int32_t Camera, const std::string& Name);
    // The views that look through the camera, which is being deleted, become the
    // free views they were before; its Undo makes them look through it again.
    void ReleaseViewsOfCamera(int32_t Camera);
    void LookThroughCameraAgain(int32_t Camera);

private:
    void buildCameraPanel();
    void buildBackgroundPanel();
    void buildViewMenu();
    void connectCamTrackTree();
    void connectCameraPanel();
    void connectBackgroundPanel();
    void connectViewMenu();
    void showBackgroundPanel();
    // The camera panel edits the selected camera only.
    bool cameraPanelLive() const;
    // The handlers of one of the workspace's trees (any may be left out).
    struct TreeHandlers {
        void (Form1::*NodeClick)(QTreeWidgetItem*) = nullptr;
        std::optional<std::string> (Form1::*AfterLabelEdit)(QTreeWidgetItem*, const std::string&) = nullptr;
        void (Form1::*Expand)(QTreeWidgetItem*) = nullptr;
        void (Form1::*Collapse)(QTreeWidgetItem*) = nullptr;
        void (Form1::*MouseUp)(int, int, int, int) = nullptr;
    };
    // Connects the tree's input to the handlers; answers the watcher of its mouse
    // buttons for more.
    ModelGalleryInput* connectTree(KeyedTree* tree, const TreeHandlers& handlers);
    // The camera panel's refill and the views' labels, as the lower layers reach them.
    void connectCameraViewHooks();
    int winViewMenuIndex_ = 0;  // the view whose menu chose "&Camera"
    // ---- textures page: the bitmaps and animations, their preview and commands
public:
    QGroupBox* frmTexturePreview = nullptr;
    QLabel* lblTextureDim = nullptr;
    // 0 "Apply to Group", 1 "Apply to Selected Polygons"
    std::array<QPushButton*, 2> cmdTextureApplyToSel{};
    QAction *mnuTextureNew = nullptr, *mnuTextureEdit = nullptr, *mnuTextureUpdate = nullptr,
            *mnuTextureDelete = nullptr;
    // PreviewAnim, PreviewFrame, PreviewDirection
    textures::AnimPreview AnimPreview;
    // The node the commands act on: the tree's selected node.
    textures::TextureNode SelectedTextureNode() const;
    void trwTextures_NodeClick();
    // Button 2: the node under the pointer is clicked, then the menu pops up for it.
    void trwTextures_MouseUp(int Button, int Shift, int x, int y);
    // Answers the node's old text: an edited label never changes a name.
    std::optional<std::string> trwTextures_AfterLabelEdit(QTreeWidgetItem* Node, const std::string& NewString);
    void trwTextures_Expand(QTreeWidgetItem* Node);
    void trwTextures_Collapse(QTreeWidgetItem* Node);
    void StartAnimPreview(int32_t Anim);
    void tmrAnimPreview_Timer();
    void cmdTextureApplyToSel_Click(int Index);
    void mnuTextureNew_Click();
    void mnuTextureEdit_Click();
    void mnuTextureUpdate_Click();
    void mnuTextureDelete_Click();
    // The preview box of the page (imgTexture) as a bitmap preview.
    textures::PicturePreview& TexturePreview() const;
    // The animation editor, shown modally: mode 0 makes a new animation, 1 edits Anim.
    void ShowAnimationEditor(int32_t CurrMode, int32_t Anim);

private:
    void buildTexturesPage(QWidget* page);
    void connectTextures();
    void showTexturePreview(int32_t bitmap);
    void clearTexturePreview();
    void setApplyButtonsEnabled(bool enabled);
    void recheckFolderImage(const char* folder);

    // ---- extrusion, bevel and polygon cutting (in the polygon frame
    // frmEditGeomPolygon); Index 0 is extrude, 1 bevel
public:
    std::array<platform::NumericField*, 2> fldExtBvl{};
    std::array<QLineEdit*, 2> txtExtBvl{};
    std::array<platform::UpDown*, 2> updwnExtBvl{};
    // The polygon tool strip: one button, "Cut".
    QToolBar* tlbrCut = nullptr;
    // False from a press on either spinner to its release.
    bool ExtBvlSpinReleased = true;
    void txtExtBvl_Change(int Index);
    // Enter (13) commits the typed value; other keys are passed on.
    void txtExtBvl_KeyPress(int Index, int KeyAscii);
    void txtExtBvl_LostFocus(int Index);
    void updwnExtBvl_Change(int Index);
    void updwnExtBvl_MouseDown(int Index);
    void updwnExtBvl_MouseUp(int Index);
    void tlbrCut_ButtonClick();
    // The Cut button pressed (1) or not (0); setting it raises no click.
    int CutButtonValue() const;
    void SetCutButtonValue(int value);

private:
    void buildPolygonTools();
    void connectPolygonToolHooks();
    // A closed world leaves no extrusion, bevel or cut to reach.
    void ResetPolygonTools();
    // The fields' last accepted texts, shown again when a typed value is refused.
    std::array<QString, 2> extBvlAccepted_ = {QStringLiteral("0"), QStringLiteral("1")};

    // ---- chase dialog, fog dialog and light maps
public:
    // The main window's colour dialog, opened on the colour the command changes
    // (OK without a pick gives that colour back); nothing when cancelled.
    std::optional<int32_t> ShowColorDialog(int32_t initial);
    // What the group's and the light's colour buttons change now: the first
    // selected polygon's (in polygon mode) or the group's first polygon's colour,
    // the selected light's colour; the button's own without one.
    int32_t currentFillColour() const;
    int32_t currentLightColour() const;

private:
    // Points the chase and fog windows' entries at their dialogs.
    void connectChaseAndFog();
    // What the chase dialog's Apply does for a group given a chase.
    void makeSelGroupDynamic();
};
