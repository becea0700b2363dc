// The editor's window: its controls, opening and closing, the toolbars, the
// texture combo and the keyboard.
#include "frmTextureMapping.h"

#include "TexturePicture.h"

#include "core/CoreTypes.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "platform/gdi.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "undo/ActionUndoRedo.h"
#include "undo/DragInProgress.h"
#include "undo/UndoRedoCommands.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QPointer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

frmTextureMapping* g_editor = nullptr;

namespace vk = platform::vk;

bool held(int key) { return platform::GetAsyncKeyState(key) < 0; }
// Down now and pressed since the last query of this key.
bool fresh(int key) { return platform::GetAsyncKeyState(key) == -32767; }

// Hands each key press meant for the editor to its Form_KeyDown before the
// focused control sees it.
class EditorKeyPreview : public QObject {
public:
    explicit EditorKeyPreview(frmTextureMapping* editor) : QObject(editor), editor_(editor) {
        qApp->installEventFilter(this);
        // The key state must have seen the press before the editor polls it: the
        // filter that keeps it goes in front again.
        if (QObject* keyState = qApp->findChild<QObject*>("platformInputFilter", Qt::FindDirectChildrenOnly))
            qApp->installEventFilter(keyState);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != editor_) return false;
        // A press nobody takes travels on to the parents as the same event; it is
        // one press. Only a strict ancestor counts: a new press may reuse the address.
        const bool passedOn = event == last_ && receiver_ && widget != receiver_ && widget->isAncestorOf(receiver_);
        last_ = event;
        receiver_ = widget;
        if (!passedOn) platform::runTrapped(editor_, [this] { editor_->Form_KeyDown(); });
        return false;
    }

private:
    frmTextureMapping* editor_;
    const QEvent* last_ = nullptr;
    QPointer<QWidget> receiver_;
};

QAction* addButton(QToolBar* bar, std::map<std::string, QAction*>& buttons, const char* key, bool checkable) {
    QAction* action = bar->addAction(QString::fromUtf8(key));
    action->setObjectName(QString::fromUtf8(key));
    action->setToolTip(QString::fromUtf8(key));
    action->setCheckable(checkable);
    buttons[key] = action;
    return action;
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace

// ---- TexCoordList

void TexCoordList::Clear() {
    Pts.assign(1, 0);
    OwnerPols.assign(1, 0);
    Count = 0;
}

void TexCoordList::Append(int32_t point, int32_t owner) {
    Pts.push_back(point);
    OwnerPols.push_back(owner);
    ++Count;
}

void TexCoordList::Assign(const int32_t* pts, const int32_t* owners, int32_t count) {
    Clear();
    for (int32_t i = 1; i <= count; ++i) Append(pts[i], owners[i]);
}

bool TexCoordList::SameAs(const TexCoordList& other) const {
    return Count == other.Count && Pts == other.Pts && OwnerPols == other.OwnerPols;
}

// ---- the window

// A tool window owned by the main window: it stays above it while the user picks
// polygons there, and leaves the main window usable (not modal).
frmTextureMapping::frmTextureMapping(QWidget* owner) : QWidget(owner, Qt::Tool) {
    g_editor = this;
    setObjectName("frmTextureMapping");
    setWindowTitle("Texture Map Editor.");
    buildControls();
    connectControls();
    penFrame_ = platform::CreatePen(platform::PS_SOLID, 1, platform::rgb(155, 155, 155));
    penOutline_ = platform::CreatePen(platform::PS_SOLID, 1, platform::rgb(255, 255, 255));
    keyPreview_ = new EditorKeyPreview(this);
    resize(760, 640);
}

frmTextureMapping::~frmTextureMapping() {
    if (g_editor == this) g_editor = nullptr;
    if (DragRecord) undo::TransformDragFlag() = false;
    for (platform::GdiObject pen : {penFrame_, penOutline_}) platform::DeleteObject(pen);
}

frmTextureMapping* frmTextureMapping::Instance() { return g_editor; }

frmTextureMapping& frmTextureMapping::ShowEditor(QWidget* owner) {
    frmTextureMapping* editor = g_editor ? g_editor : new frmTextureMapping(owner);
    if (editor->Loaded && editor->isMinimized()) {
        editor->showNormal();
        return *editor;
    }
    if (!editor->Loaded) {
        // Closed while minimised, it opens afresh all the same.
        editor->setWindowState(editor->windowState() & ~Qt::WindowMinimized);
        // The surface gets its size before the texture is fitted to it.
        editor->layout()->activate();
        editor->Form_Load();
    }
    if (editor->isVisible()) {
        editor->raise();
        editor->activateWindow();
    } else {
        editor->show();
    }
    return *editor;
}

void frmTextureMapping::UnloadEditor() {
    if (g_editor && g_editor->Loaded) g_editor->close();
}

void frmTextureMapping::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    tbrTextureMapping = new QToolBar(this);
    tbrTextureMapping->setObjectName("tbrTextureMapping");
    auto* tools = new QActionGroup(this);
    for (const char* key : {"Select", "Move", "Rotate", "Scale", "Zoom", "Pan"})
        tools->addAction(addButton(tbrTextureMapping, buttons_, key, true));
    tbrTextureMapping->addSeparator();
    addButton(tbrTextureMapping, buttons_, "Zoom Extent", false);
    addButton(tbrTextureMapping, buttons_, "Texture On/Off", true);
    tbrTextureMapping->addSeparator();
    cmbTextures = new QComboBox(tbrTextureMapping);
    cmbTextures->setObjectName("cmbTextures");
    cmbTextures->setMinimumContentsLength(16);
    tbrTextureMapping->addWidget(cmbTextures);
    layout->addWidget(tbrTextureMapping);

    PicMain = new TexturePicture(this);
    layout->addWidget(PicMain, 1);

    picBtmTbrContainer = new QWidget(this);
    picBtmTbrContainer->setObjectName("picBtmTbrContainer");
    auto* bottom = new QVBoxLayout(picBtmTbrContainer);
    bottom->setContentsMargins(0, 0, 0, 0);
    tbrBottom = new QToolBar(picBtmTbrContainer);
    tbrBottom->setObjectName("tbrBottom");
    addButton(tbrBottom, buttons_, "Selected Only", true);
    QAction* mirror = addButton(tbrBottom, buttons_, "Mirror", false);
    mirror->setToolTip("Mirror - keep \"X\"/\"1\" or \"Y\"/\"2\" pressed.");
    bottom->addWidget(tbrBottom);
    layout->addWidget(picBtmTbrContainer);
}

void frmTextureMapping::connectControls() {
    auto key = [](QAction* action) { return action->objectName().toStdString(); };
    connect(tbrTextureMapping, &QToolBar::actionTriggered, this, [this, key](QAction* action) {
        platform::runTrapped(this, [&] { tbrTextureMapping_ButtonClick(key(action)); });
    });
    connect(tbrBottom, &QToolBar::actionTriggered, this,
            [this, key](QAction* action) { platform::runTrapped(this, [&] { tbrBottom_ButtonClick(key(action)); }); });
    // Raised when the program sets the combo too, as the load step does.
    connect(cmbTextures, &QComboBox::currentIndexChanged, this,
            platform::trapped(this, [this] { cmbTextures_Change(); }));
    PicMain->MouseDown = [this](int b, int s, float x, float y) {
        platform::runTrapped(this, [&] { PicMain_MouseDown(b, s, x, y); });
    };
    PicMain->MouseMove = [this](int b, int s, float x, float y) {
        platform::runTrapped(this, [&] { PicMain_MouseMove(b, s, x, y); });
    };
    PicMain->MouseUp = [this](int b, int s, float x, float y) {
        platform::runTrapped(this, [&] { PicMain_MouseUp(b, s, x, y); });
    };
    PicMain->Resized = [this] { platform::runTrapped(this, [this] { Form_Resize(); }); };
}

QAction* frmTextureMapping::Button(const std::string& key) const {
    const auto it = buttons_.find(key);
    return it == buttons_.end() ? nullptr : it->second;
}

bool frmTextureMapping::SelectedOnly() const { return Button("Selected Only")->isChecked(); }
bool frmTextureMapping::TextureOn() const { return Button("Texture On/Off")->isChecked(); }

void frmTextureMapping::Form_Load() {
    TexToolMode = TexSelect;
    SetToolMode(TexSelect);
    PicMain->SetMousePointer(99);
    picMainSetMousePtr("Select");
    Button("Texture On/Off")->setChecked(true);
    Button("Selected Only")->setChecked(false);
    ResetSelections();
    DragOverSel = false;
    DragRecord.reset();
    Zoom = 1.0;
    PanPixX = PanPixY = 0;
    PanX = PanY = 0;
    PrevPicWidth = PicMain->width();
    PrevPicHeight = PicMain->height();
    FillTexturesCombo();
    GetTextureSize(ComboBitmap());
    FitTextureToPicture();
    CentreTexture();
    Loaded = true;
    SetupWithNewZoom();
}

void frmTextureMapping::Form_Unload() {
    Loaded = false;
    if (DragRecord) undo::TransformDragFlag() = false;
    DragRecord.reset();
    DragOverSel = false;
    PicMain->ClearPicture();
}

void frmTextureMapping::closeEvent(QCloseEvent* event) {
    platform::runTrapped(this, [this] { Form_Unload(); });
    event->accept();
}

void frmTextureMapping::picMainSetMousePtr(const std::string& MousePtr) { PicMain->SetMouseIcon(MousePtr); }

void frmTextureMapping::SetToolMode(int32_t mode) {
    static const std::map<int32_t, const char*> keys = {{TexSelect, "Select"}, {TexMove, "Move"}, {TexRotate, "Rotate"},
                                                        {TexScale, "Scale"},   {TexPan, "Pan"},   {TexZoom, "Zoom"}};
    const auto it = keys.find(mode);
    for (const char* key : {"Select", "Move", "Rotate", "Scale", "Zoom", "Pan"}) Button(key)->setChecked(false);
    if (it != keys.end()) Button(it->second)->setChecked(true);
    enterTool(mode);
}

void frmTextureMapping::enterTool(int32_t mode) {
    TexToolMode = mode;
    // The hover of a transform tool armed a drag; no other tool may start one.
    DragOverSel = false;
}

void frmTextureMapping::tbrTextureMapping_ButtonClick(const std::string& key) {
    const std::string k = lowerCase(key);
    auto choose = [this](int32_t mode, const char* pointer) {
        enterTool(mode);
        PicMain->SetMousePointer(99);
        picMainSetMousePtr(pointer);
    };
    if (k == "select")
        choose(TexSelect, "Select");
    else if (k == "move")
        choose(TexMove, "Pointer");
    else if (k == "rotate")
        choose(TexRotate, "Pointer");
    else if (k == "scale")
        choose(TexScale, "Pointer");
    else if (k == "pan")
        choose(TexPan, "Pan");
    else if (k == "zoom")
        choose(TexZoom, "Zoom");
    else if (k == "texture on/off")
        PicMain_Paint();
    else if (k == "zoom extent")
        TexZoomExtent();
}

void frmTextureMapping::tbrBottom_ButtonClick(const std::string& key) {
    if (key == "Selected Only") SetupWithNewZoom();
    if (key == "Mirror") MirrorSelCoords();
}

void frmTextureMapping::Form_KeyDown() {
    const bool ctrl = held(vk::Control), shift = held(vk::Shift);
    auto choose = [this](int32_t mode, const char* pointer) {
        SetToolMode(mode);
        picMainSetMousePtr(pointer);
    };
    if (!ctrl && !shift) {
        if (held('Z'))
            choose(TexZoom, "Zoom");
        else if (held('P'))
            choose(TexPan, "Pan");
        else if (held('S'))
            choose(TexSelect, "Select");
    } else if (!ctrl && shift) {
        if (held('1'))
            choose(TexMove, "Pointer");
        else if (held('2'))
            choose(TexRotate, "Pointer");
        else if (held('3'))
            choose(TexScale, "Pointer");
        else if (fresh('Z'))
            TexZoomExtent();
    } else if (ctrl && !shift) {
        if (fresh('Z'))
            undo::UndoCommand(this);
        else if (fresh('A'))
            undo::RedoCommand(this);
    } else if (fresh('Z')) {
        TexZoomExtent();
    }
}

// ---- the texture shown

int32_t frmTextureMapping::ComboBitmap() const {
    if (cmbTextures->currentIndex() < 0 || cmbTextures->currentText().isEmpty()) return 0;
    return cmbTextures->currentData().toInt();
}

void frmTextureMapping::FillTexturesCombo() {
    // Entries of another group or an earlier world would name stale bitmaps.
    cmbTextures->clear();
    TexPicture = 0;
    if (Globals::CurrSelEntityType != SelGroup) return;
    const int32_t group = Globals::CurrSelEntityHandle;
    // The file name is shown; the entry keeps its bitmap, so nothing is loaded by name.
    for (int32_t b = OMBREL_bitmap_get_first_bitmap(); b != 0; b = OMBREL_bitmap_get_next(b))
        if (OMBREL_group_is_bitmap_used(group, b) == 1)
            cmbTextures->addItem(QString::fromStdString(Globals::GetBitmapFileName(b)), b);
    if (cmbTextures->count() > 0) {
        cmbTextures->setCurrentIndex(0);
        LoadTexturePicture(ComboBitmap());
    }
    // The picture of the first selected polygon, the combo left at its first entry.
    if (Globals::NumSelPols > 0) {
        const int32_t bitmap = OMBREL_polygon_get_bitmap_handle(Globals::SelPols[1]);
        if (bitmap != 0) LoadTexturePicture(bitmap);
    }
}

void frmTextureMapping::LoadTexturePicture(int32_t bitmap) {
    const std::string file = Globals::FindBitmapFilePath(bitmap);
    // A missing file paints no texture; the outlines still draw.
    TexPicture = file.empty() ? 0 : OMBREL_utilities_load_bitmap_from_file(file.c_str());
}

void frmTextureMapping::GetTextureSize(int32_t bitmap) {
    TexWidth = TexHeight = 256;
    if (bitmap != 0) {
        const int32_t w = OMBREL_bitmap_get_width(bitmap), h = OMBREL_bitmap_get_height(bitmap);
        // A bitmap without a size keeps the default rather than divide by it.
        if (w > 0 && h > 0) {
            TexWidth = w;
            TexHeight = h;
        }
    }
    TexAspect = static_cast<double>(TexWidth) / TexHeight;
}

void frmTextureMapping::cmbTextures_Change() {
    const int32_t bitmap = ComboBitmap();
    if (bitmap == 0) return;
    GetTextureSize(bitmap);
    FitTextureToPicture();
    CentreTexture();
    LoadTexturePicture(bitmap);
    SetupWithNewZoom();
}
