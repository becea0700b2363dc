#include "Form1.h"

#include "RecentFiles.h"
#include "formTip.h"

#include "SplitterHandle.h"
#include "ToolbarIcons.h"
#include "ViewLabel.h"
#include "PanelFields.h"
#include "WorkspaceImages.h"
#include "formError.h"

#include "geometry/CreatePanel.h"
#include "platform/error_trap.h"
#include "platform/window_placement.h"

#include "views/PicWindow.h"

#include <QAction>
#include <QKeySequence>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>

namespace {

Form1* g_instance = nullptr;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

QAction* item(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(name);
    return action;
}

QMenu* submenu(QMenu* parent, const char* name, const char* caption) {
    QMenu* menu = parent->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

QMenu* topMenu(QMenuBar* bar, const char* name, const char* caption) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

QMenu* popup(QWidget* owner, const char* name) {
    auto* menu = new QMenu(owner);
    menu->setObjectName(name);
    return menu;
}

QGroupBox* frame(const char* name, const char* caption, QWidget* parent) {
    auto* box = new QGroupBox(QString::fromUtf8(caption), parent);
    box->setObjectName(name);
    return box;
}

template <class Control>
Control* named(Control* control, const char* name) {
    control->setObjectName(name);
    return control;
}

// The drag handlers of a splitter image, each with the standard error trap.
SplitterHandle* wireSplitter(SplitterHandle* handle, QWidget* owner, std::function<void(double, double)> down,
                             std::function<void(double, double)> move, std::function<void(double, double)> up) {
    auto trap = [owner](std::function<void(double, double)> step) {
        return [owner, step = std::move(step)](double x, double y) {
            platform::runTrapped(owner, [&] { step(x, y); });
        };
    };
    handle->MouseDown = trap(std::move(down));
    handle->MouseMove = trap(std::move(move));
    handle->MouseUp = trap(std::move(up));
    return handle;
}

}  // namespace

Form1* Form1::Instance() { return g_instance; }

Form1::Form1() {
    g_instance = this;
    setObjectName("Form1");
    setWindowTitle("TALVORA");
    buildMenus();
    buildToolbar();
    buildStatusBar();
    // No built-in menu for the toolbar, status bar or panel: the right button
    // belongs to the controls (the toolbar's release opens the numeric dialog).
    setContextMenuPolicy(Qt::NoContextMenu);
    auto* centre = new QWidget(this);
    centre->setObjectName("centre");
    setCentralWidget(centre);
    // The client area also changes when the toolbar or the status bar comes or goes.
    centre->installEventFilter(this);
    buildWorkspace();
    buildPolygonTools();
    buildTrackPointFrame();
    buildViews();
    // Every other window of the program opens on this window's screen, beside its views.
    platform::PlaceWindowsOnShow(*this, *frmPicWins);
    connectViewMenu();
    connectMenus();
    installKeyPreview();
    watchToolbarReleases();
    setMinimumWidth(Twips::toPixels(MinWidth));
    platform::StartOnScreen(*this, {Twips::toPixels(15000), Twips::toPixels(11000)});
    views::setViewHost(this);
    connectEditorHooks();
    platform::setErrorWindow([this](QWidget* owner) {
        formError& window = formError::Instance();
        window.CloseMainWindow = [this] { close(); };
        window.ShowModal(owner);
    });
}

Form1::~Form1() {
    disconnectEditorHooks();
    platform::setErrorWindow(nullptr);
    views::setViewHost(nullptr);
    if (g_instance == this) g_instance = nullptr;
}

void Form1::buildMenus() {
    QMenuBar* bar = menuBar();
    mnuFile = topMenu(bar, "mnuFile", "&File");
    mnuNew = item(mnuFile, "mnuNew", "&New");
    mnuOpenFile = item(mnuFile, "mnuOpenFile", "&Open");
    mnuAddWorld = item(mnuFile, "mnuAddWorld", "Add &World");
    mnuCloseFile = item(mnuFile, "mnuCloseFile", "&Close");
    mnuSave = item(mnuFile, "mnuSave", "&Save");
    mnuSaveAs = item(mnuFile, "mnuSaveAs", "Save &As");
    mnuFile->addSeparator();
    // The recent files are listed here once the world files keep them.
    mnuMru = item(mnuFile, "mnuMru", "");
    mnuMru->setVisible(false);
    mnuFile->addSeparator();
    mnuExit = item(mnuFile, "mnuExit", "&Exit");

    mnuEdit = topMenu(bar, "mnuEdit", "&Edit");
    mnuUndo = item(mnuEdit, "mnuUndo", "&Undo");
    mnuRedo = item(mnuEdit, "mnuRedo", "&Redo");
    mnuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuSelectAll = item(mnuEdit, "mnuSelectAll", "Select &All");
    mnuSelectInvert = item(mnuEdit, "mnuSelectInvert", "Select &Invert");
    mnuHold = item(mnuEdit, "mnuHold", "&Hold");
    mnuFetch = item(mnuEdit, "mnuFetch", "&Fetch");
    mnuPreference = item(mnuEdit, "mnuPreference", "&Preference");

    mnuView = topMenu(bar, "mnuView", "&View");
    mnuToolbar = item(mnuView, "mnuToolbar", "&Toolbar");
    mnuStatusBar = item(mnuView, "mnuStatusBar", "&Status Bar");
    mnuWorkspace = item(mnuView, "mnuWorkspace", "&Workspace");
    for (QAction* a : {mnuToolbar, mnuStatusBar, mnuWorkspace}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    mnuHideSelected = item(mnuView, "mnuHideSelected", "&Hide Selected");
    mnuHideUnSelected = item(mnuView, "mnuHideUnSelected", "H&ide UnSelected");
    mnuUnhideAll = item(mnuView, "mnuUnhideAll", "&Unhide All");
    mnuHideSelected->setShortcut(QKeySequence(Qt::Key_F6));
    mnuHideUnSelected->setShortcut(QKeySequence(Qt::Key_F7));
    mnuUnhideAll->setShortcut(QKeySequence(Qt::Key_F8));
    mnuRedrawAllViews = item(mnuView, "mnuRedrawAllViews", "Re&draw All Views ");
    mnuResetViews = item(mnuView, "mnuResetViews", "&Reset Views");
    mnuViewerMode = item(mnuView, "mnuViewerMode", "&Viewer Mode");
    mnuExpertMode = item(mnuView, "mnuExpertMode", "E&xpert Mode");

    mnuGrp = topMenu(bar, "mnuGrp", "&Group");
    mnuGroup = item(mnuGrp, "mnuGroup", "&Group");
    mnuUngroup = item(mnuGrp, "mnuUngroup", "&Ungroup");
    mnuAttach = item(mnuGrp, "mnuAttach", "&Attach");
    mnuDetach = item(mnuGrp, "mnuDetach", "&Detach");
    mnuUngroupAll = item(mnuGrp, "mnuUngroupAll", "Ungroup &All");
    mnuGrpDelete = item(mnuGrp, "mnuGrpDelete", "D&elete");
    mnuProperties = item(mnuGrp, "mnuProperties", "&Properties");

    mnuCreate = topMenu(bar, "mnuCreate", "&Create");
    mnuStdGroups = submenu(mnuCreate, "mnuStdGroups", "&Standard Groups");
    mnuPlane = item(mnuStdGroups, "mnuPlane", "&Plane");
    mnuBox = item(mnuStdGroups, "mnuBox", "&Box");
    mnuSphere = item(mnuStdGroups, "mnuSphere", "&Sphere");
    mnuCylinder = item(mnuStdGroups, "mnuCylinder", "&Cylinder");
    mnuCone = item(mnuStdGroups, "mnuCone", "C&one");
    mnuTorus = item(mnuStdGroups, "mnuTorus", "&Torus");
    mnuCamera = item(mnuCreate, "mnuCamera", "&Camera");
    mnuLight = submenu(mnuCreate, "mnuLight", "&Light");
    mnuOmnidirectional = item(mnuLight, "mnuOmnidirectional", "&Omnidirectional");
    mnuDirectional = item(mnuLight, "mnuDirectional", "&Directional");
    mnuTrack = submenu(mnuCreate, "mnuTrack", "&Track");
    mnuCircular = item(mnuTrack, "mnuCircular", "&Circular");
    mnuCustom = item(mnuTrack, "mnuCustom", "Cust&om");
    mnuLightMaps = item(mnuCreate, "mnuLightMaps", "Light &Maps");

    mnuHelp = topMenu(bar, "mnuHelp", "&Help");
    mnuReference = item(mnuHelp, "mnuReference", "&Reference");
    mnuTutorial = item(mnuHelp, "mnuTutorial", "&Tutorial");
    mnuHelp->addSeparator();
    mnuTip = item(mnuHelp, "mnuTip", "Tip &of the day");
    mnuHelp->addSeparator();
    mnuAbout = item(mnuHelp, "mnuAbout", "&About");

    mnuModelGallery = popup(this, "mnuModelGallery");
    mnuTexture = popup(this, "mnuTexture");
    mnuWinView = popup(this, "mnuWinView");
    mnuGroupMenu = popup(this, "mnuGroupMenu");
    mnuLightMenu = popup(this, "mnuLightMenu");
    mnuCamTrkBkMenu = popup(this, "mnuCamTrkBkMenu");
    mnuGroupMenuRemoveFrmGrp = item(mnuGroupMenu, "mnuGroupMenuRemoveFrmGrp", "&Remove From Group");
    mnuGroupMenuUngroup = item(mnuGroupMenu, "mnuGroupMenuUngroup", "&Ungroup");
    mnuGroupMenuRemoveLight = item(mnuGroupMenu, "mnuGroupMenuRemoveLight", "Remove &Light");
    mnuGroupMenuRemoveLightMaps = item(mnuGroupMenu, "mnuGroupMenuRemoveLightMaps", "Remove Light &Maps");
    mnuGroupMenuDelete = item(mnuGroupMenu, "mnuGroupMenuDelete", "&Delete");
    mnuGroupMenuHide = item(mnuGroupMenu, "mnuGroupMenuHide", "&Hide");
    mnuGroupMenuUnhide = item(mnuGroupMenu, "mnuGroupMenuUnhide", "Unh&ide");
    mnuGroupMenuProperties = item(mnuGroupMenu, "mnuGroupMenuProperties", "&Properties");
    mnuLightMenuNew = item(mnuLightMenu, "mnuLightMenuNew", "&New");
    mnuLightMenuDelete = item(mnuLightMenu, "mnuLightMenuDelete", "&Delete");
    mnuLightMenuHide = item(mnuLightMenu, "mnuLightMenuHide", "&Hide");
    mnuLightMenuUnhide = item(mnuLightMenu, "mnuLightMenuUnhide", "&Unhide");
    mnuLightMenuHideAll = item(mnuLightMenu, "mnuLightMenuHideAll", "Hide &All");
    mnuLightMenuShowAll = item(mnuLightMenu, "mnuLightMenuShowAll", "Sh&ow All");
    mnuCamTrkBkMenuNew = item(mnuCamTrkBkMenu, "mnuCamTrkBkMenuNew", "&New");
    mnuCamTrkBkMenuDelete = item(mnuCamTrkBkMenu, "mnuCamTrkBkMenuDelete", "&Delete");
    mnuCamTrkBkMenuSaveCurrent = item(mnuCamTrkBkMenu, "mnuCamTrkBkMenuSaveCurrent", "&Save Current");
    mnuCamTrkBkMenuHide = item(mnuCamTrkBkMenu, "mnuCamTrkBkMenuHide", "&Hide");
    mnuCamTrkBkMenuUnhide = item(mnuCamTrkBkMenu, "mnuCamTrkBkMenuUnhide", "&Unhide");
    mnuCamTrkBkMenuHideAll = item(mnuCamTrkBkMenu, "mnuCamTrkBkMenuHideAll", "Hide &All");
    mnuCamTrkBkMenuShowAll = item(mnuCamTrkBkMenu, "mnuCamTrkBkMenuShowAll", "Sh&ow All");
    buildViewMenu();
}

void Form1::buildToolbar() {
    Toolbar1 = named(addToolBar("Toolbar1"), "Toolbar1");
    Toolbar1->setMovable(false);
    // Small pictures keep every button in sight at the window's least width.
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Toolbar1->setIconSize(QSize(20, 20));
    // Keys and captions; "" is a separator, which counts as a button as the tool
    // buttons' numbers (5 to 13) assume.
    struct Button {
        const char* key;
        const char* caption;
        bool check;
    };
    static const Button buttons[] = {
        {"New", "New", false},          {"Open", "Open", false},
        {"Save", "Save", false},        {"", "", false},
        {"Select", "Select", true},     {"Move", "Move", true},
        {"Rotate", "Rotate", true},     {"Scale", "Scale", true},
        {"Pan", "Pan", true},           {"Revolve", "Revolve", true},
        {"Zoom Camera", "Zoom", true},  {"Move Camera", "Dolly", true},
        {"Roll Camera", "Roll", true},  {"", "", false},
        {"Zoom Extents", "Fit", false}, {"Zoom Extents All", "Fit All", false},
        {"Min/Max Toggle", "Max", false}, {"Center Obj In View", "Centre", false},
        {"", "", false},                {"Wireframe", "Wire", true},
        {"3D Card Toggle", "3D Card", true}, {"", "", false},
        {"Selection List", "List", false}, {"Atmosphere", "Fog", false},
        {"Duplicate", "Duplicate", false}, {"Align", "Align", true},
    };
    auto* tools = new QActionGroup(this);
    tools->setExclusive(true);
    for (const Button& b : buttons) {
        if (!*b.key) {
            Toolbar1->addSeparator();
            continue;
        }
        QAction* a = Toolbar1->addAction(b.caption);
        a->setObjectName(QString("tlbr") + QString(b.key).remove(' ').remove('/'));
        a->setData(QString(b.key));
        a->setIcon(ToolbarIcon(b.key));
        a->setToolTip(b.caption);
        a->setCheckable(b.check);
        const std::string key = lowerCase(b.key);
        if (b.check && key != "wireframe" && key != "3d card toggle" && key != "align") tools->addAction(a);
        toolbarButtons_[key] = a;
        connect(a, &QAction::triggered, this, platform::trapped(this, [this, key] { Toolbar1_ButtonClick(key); }));
    }
    toolbarButtons_["select"]->setChecked(true);
}

QAction* Form1::Toolbar1_Button(const std::string& key) const {
    const auto it = toolbarButtons_.find(lowerCase(key));
    if (it == toolbarButtons_.end()) throw platform::EditorError("Element not found");
    return it->second;
}

int Form1::ToolbarButtonValue(const std::string& key) const { return Toolbar1_Button(key)->isChecked() ? 1 : 0; }

void Form1::SetToolbarButtonValue(const std::string& key, int value) { Toolbar1_Button(key)->setChecked(value != 0); }

void Form1::buildStatusBar() {
    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    setStatusBar(StatusBar1);
    const char* tips[] = {"Total Polygons in World", "Number of Polygons in Selected Group", ""};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(StatusBar1);
        panel->setObjectName(QString("StatusBar1Panel%1").arg(i + 1));
        panel->setToolTip(tips[i]);
        panel->setMinimumWidth(Twips::toPixels(1500));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar1->addPermanentWidget(panel, i == 2 ? 1 : 0);
        statusPanels_[static_cast<std::size_t>(i)] = panel;
    }
}

QString Form1::StatusBarPanel(int panel) const { return statusPanels_.at(static_cast<std::size_t>(panel - 1))->text(); }

void Form1::buildWorkspace() {
    tabWorkspace = named(new QTabWidget(centralWidget()), "tabWorkspace");
    // Six pages in the panel's width: each caption whole, the bar scrolling.
    tabWorkspace->setUsesScrollButtons(true);
    tabWorkspace->tabBar()->setElideMode(Qt::ElideNone);
    tabWorkspace->setStyleSheet(
        "QTabBar::tab { padding: 3px 5px; border: 1px solid palette(mid); background: palette(button); }"
        "QTabBar::tab:selected { background: palette(base); border-bottom-color: palette(base); }");
    // Every page scrolls as a whole: on a short window no control is squeezed
    // below its least size.
    auto addWorkspacePage = [this](QWidget* page, const QString& caption) {
        tabWorkspace->addTab(panels::ScrollingPage(page, QStringLiteral("scrWorkspacePage%1").arg(tabWorkspace->count())),
                             caption);
    };

    // Page 0: the group tree.
    auto* groups = new QWidget;
    auto* groupsLayout = new QVBoxLayout(groups);
    trwGroupView = named(new KeyedTree(groups), "trwGroupView");
    groupsLayout->addWidget(trwGroupView, 1);
    addWorkspacePage(groups, "Groups");

    // Page 1: new objects, geometry and texture editing of the selected group.
    auto* edit = new QWidget;
    buildEditGroupPage(edit);
    addWorkspacePage(edit, "Edit Group");

    // Page 2: cameras, tracks and backgrounds.
    auto* cameras = new QWidget;
    auto* camLayout = new QVBoxLayout(cameras);
    trwCamTrackBK = named(new KeyedTree(cameras), "trwCamTrackBK");
    frmCam = frame("frmCam", "Camera", cameras);
    buildCameraPanel();
    frmTrack = frame("frmTrack", "Track", cameras);
    auto* trackLayout = new QHBoxLayout(frmTrack);
    cmbTrackPoint = named(new QComboBox(frmTrack), "cmbTrackPoint");
    frmTrackPoint = frame("frmTrackPoint", "", frmTrack);
    frmTrackPoint->setVisible(false);
    trackLayout->addWidget(cmbTrackPoint);
    trackLayout->addWidget(frmTrackPoint, 1);
    frmBackground = frame("frmBackground", "Background", cameras);
    buildBackgroundPanel();
    camLayout->addWidget(trwCamTrackBK, 1);
    for (QGroupBox* f : {frmCam, frmTrack, frmBackground}) {
        camLayout->addWidget(f);
        f->setVisible(false);
    }
    // The camera panel shares the page with the tree; its content scrolls.
    camLayout->setStretchFactor(frmCam, 1);
    addWorkspacePage(cameras, "Background/Camera/Track");

    // Page 3: bitmaps and animations.
    auto* textures = new QWidget;
    buildTexturesPage(textures);
    addWorkspacePage(textures, "Texture");

    // Page 4: the model gallery.
    auto* gallery = new QWidget;
    auto* galleryLayout = new QVBoxLayout(gallery);
    trwModel = named(new KeyedTree(gallery), "trwModel");
    frmModelPreview = frame("frmModelPreview", "Preview", gallery);
    frmModelPreview->setMinimumHeight(Twips::toPixels(2000));
    galleryLayout->addWidget(trwModel, 1);
    galleryLayout->addWidget(frmModelPreview);
    addWorkspacePage(gallery, "Model Gallery");
    buildModelGallery();

    // Page 5: lights.
    auto* lights = new QWidget;
    auto* lightLayout = new QVBoxLayout(lights);
    trwLight = named(new KeyedTree(lights), "trwLight");
    frmLight = frame("frmLight", "Light", lights);
    buildLightPanel();
    frmLight->setVisible(false);
    lightLayout->addWidget(trwLight, 1);
    lightLayout->addWidget(frmLight, 3);
    addWorkspacePage(lights, "Light");

    for (KeyedTree* tree : {trwGroupView, trwCamTrackBK, trwLight, trwTextures}) InstallWorkspaceImages(*tree);
    tmrAnimPreview = named(new QTimer(this), "tmrAnimPreview");
    connectTextures();
    connect(cmdCreate, &QPushButton::clicked, this, platform::trapped(this, [this] { cmdCreate_Click(); }));
    connectWorkspace();
    connectLightTree();
    connectLightPanel();
    connectCamTrackTree();
    connectCameraPanel();
    connectBackgroundPanel();
}

// Page 1: the object-mode combo, then one of the create panel, the geometry
// editor (group name and colour, group commands, point or polygon editing) and
// the texture editor.
void Form1::buildEditGroupPage(QWidget* edit) {
    auto* editLayout = new QVBoxLayout(edit);
    frmObj = frame("frmObj", "", edit);
    auto* objLayout = new QVBoxLayout(frmObj);
    cmbObj = named(new QComboBox(frmObj), "cmbObj");
    cmbObj->addItem("New Object");
    objLayout->addWidget(cmbObj);

    frmNewObj = frame("frmNewObj", "New Object", edit);
    auto* newLayout = new QVBoxLayout(frmNewObj);
    cmbNewObjType = named(new QComboBox(frmNewObj), "cmbNewObjType");
    cmdCreate = named(new QPushButton("Create", frmNewObj), "cmdCreate");
    newLayout->addWidget(cmbNewObjType);
    newLayout->addWidget(cmdCreate);
    buildGeometryTools();

    frmEditGeom = frame("frmEditGeom", "Edit Geometry", edit);
    auto* geomLayout = new QVBoxLayout(frmEditGeom);
    auto* nameFrame = named(new QFrame(frmEditGeom), "frmGrpName");
    auto* nameLayout = new QHBoxLayout(nameFrame);
    nameLayout->setContentsMargins(0, 0, 0, 0);
    txtSelectedGrpName = named(new QLineEdit(nameFrame), "txtSelectedGrpName");
    txtSelectedGrpName->setEnabled(false);
    cmdGrpClr = named(new QPushButton(nameFrame), "cmdGrpClr");
    cmdGrpClr->setToolTip("Colour");
    cmdGrpClr->setFixedWidth(Twips::toPixels(450));
    nameLayout->addWidget(new QLabel("Name", nameFrame));
    nameLayout->addWidget(txtSelectedGrpName, 1);
    nameLayout->addWidget(cmdGrpClr);
    auto* commandFrame = named(new QFrame(frmEditGeom), "frmGrpCommands");
    auto* commandLayout = new QGridLayout(commandFrame);
    commandLayout->setContentsMargins(0, 0, 0, 0);
    chkGrpDyn = named(new QCheckBox("Dynamic", commandFrame), "chkGrpDyn");
    cmdTriangulate = named(new QPushButton("Triangulate", commandFrame), "cmdTriangulate");
    cmdReducePols = named(new QPushButton("Reduce Polys", commandFrame), "cmdReducePols");
    cmdEditGeomChase = named(new QPushButton("Edit Chase", commandFrame), "cmdEditGeomChase");
    commandLayout->addWidget(chkGrpDyn, 0, 0);
    commandLayout->addWidget(cmdEditGeomChase, 0, 1);
    commandLayout->addWidget(cmdTriangulate, 1, 0);
    commandLayout->addWidget(cmdReducePols, 1, 1);
    frmEditGeomSubObj = frame("frmEditGeomSubObj", "", frmEditGeom);
    auto* subLayout = new QVBoxLayout(frmEditGeomSubObj);
    cmbObjEditGeom = named(new QComboBox(frmEditGeomSubObj), "cmbObjEditGeom");
    cmbObjEditGeom->addItems({"Point", "Polygon"});
    subLayout->addWidget(cmbObjEditGeom);
    frmEditGeomPoint = frame("frmEditGeomPoint", "Point", frmEditGeom);
    auto* pointLayout = new QHBoxLayout(frmEditGeomPoint);
    cmdEditPtDelete = named(new QPushButton("&Delete", frmEditGeomPoint), "cmdEditPtDelete");
    chkIgnoreBackFacedForPtSel =
        named(new QCheckBox("Ignore Backfaced", frmEditGeomPoint), "chkIgnoreBackFacedForPtSel");
    pointLayout->addWidget(cmdEditPtDelete);
    pointLayout->addWidget(chkIgnoreBackFacedForPtSel);
    frmEditGeomPolygon = frame("frmEditGeomPolygon", "Polygon", frmEditGeom);
    buildPolygonFrame();
    for (QWidget* w : std::initializer_list<QWidget*>{nameFrame, commandFrame, frmEditGeomSubObj, frmEditGeomPoint,
                                                      frmEditGeomPolygon})
        geomLayout->addWidget(w);
    // Frames in a frame: narrow sides keep the polygon frame within the panel's width.
    for (QLayout* l : {frmEditGeom->layout(), frmEditGeomPolygon->layout()}) {
        const QMargins m = l->contentsMargins();
        l->setContentsMargins(4, m.top(), 4, m.bottom());
    }

    frmEditTexture = frame("frmEditTexture", "Edit Texture", edit);
    buildEditTextureFrame();
    editLayout->addWidget(frmObj);
    editLayout->addWidget(frmNewObj);
    editLayout->addWidget(frmEditGeom);
    editLayout->addWidget(frmEditTexture);
    editLayout->addStretch(1);
}

void Form1::buildViews() {
    frmPicWins = named(new QFrame(centralWidget()), "frmPicWins");
    frmPicWins->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    const char* captions[] = {"Top", "Front", "Perspective", "Right"};
    for (int i = 0; i < 4; ++i) {
        auto* view = new PicWindow(i, frmPicWins);
        view->PaintRequested = [](int index) { picWindow_Paint(index); };
        connectViewInput(view);
        view->installEventFilter(this);
        picWindow[static_cast<std::size_t>(i)] = view;
        auto* label = new ViewLabel(captions[i], frmPicWins);
        label->setObjectName(QString("lblPicView%1").arg(i));
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        lblPicView[static_cast<std::size_t>(i)] = label;
    }
    for (int i = 0; i < 2; ++i) {
        imgSplitterHoriz[static_cast<std::size_t>(i)] = wireSplitter(
            new SplitterHandle(QString("imgSplitterHoriz%1").arg(i), Qt::SplitVCursor, frmPicWins), this,
            [this, i](double, double) { viewArea_.imgSplitterHoriz_MouseDown(i); },
            [this](double, double y) { viewArea_.imgSplitterHoriz_MouseMove(y); },
            [this](double, double) { viewArea_.imgSplitterHoriz_MouseUp(); });
        imgSplitterVert[static_cast<std::size_t>(i)] = wireSplitter(
            new SplitterHandle(QString("imgSplitterVert%1").arg(i), Qt::SplitHCursor, frmPicWins), this,
            [this, i](double, double) { viewArea_.imgSplitterVert_MouseDown(i); },
            [this](double x, double) { viewArea_.imgSplitterVert_MouseMove(x); },
            [this](double, double) { viewArea_.imgSplitterVert_MouseUp(); });
    }
    imgSplitterHV = wireSplitter(
        new SplitterHandle("imgSplitterHV", Qt::SizeAllCursor, frmPicWins), this,
        [this](double, double) { viewArea_.imgSplitterHV_MouseDown(); },
        [this](double x, double y) { viewArea_.imgSplitterHV_MouseMove(x, y); },
        [this](double, double) { viewArea_.imgSplitterHV_MouseUp(); });
    picSplitterHoriz = named(new QWidget(frmPicWins), "picSplitterHoriz");
    picSplitterVert = named(new QWidget(frmPicWins), "picSplitterVert");
    for (QWidget* bar : {picSplitterHoriz, picSplitterVert}) {
        bar->setStyleSheet("background: rgb(90, 90, 90);");
        bar->setAttribute(Qt::WA_StyledBackground);
        bar->setAttribute(Qt::WA_TransparentForMouseEvents);
        bar->hide();
    }
    shpFocus = named(new QFrame(frmPicWins), "shpFocus");
    // No view holds the keyboard focus yet: the frame wears the lost-focus colour.
    shpFocus->setStyleSheet("QFrame#shpFocus { border: 2px solid rgb(0, 0, 225); background: transparent; }");
    shpFocus->setAttribute(Qt::WA_TransparentForMouseEvents);

    viewArea_.Changed = [this](bool redraw) {
        applyViewArea();
        if (redraw) UpdateCameras();
        // The frame follows the active view also where the views are not redrawn
        // (the second half of a drag of the crossing point).
        SetWindowFocus();
    };
}
