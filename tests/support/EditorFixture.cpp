#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "mainwindow/formTemplate.h"
#include "ombrel.h"
#include "ombrel_loader.h"
#include "platform/key_state.h"
#include "platform/program.h"
#include "views/PicWindow.h"
#include "undo/DragInProgress.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <filesystem>

namespace {

// One application for the whole test program, ended before the program's exit
// handlers run (Qt cannot be torn down from them).
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QApplication::instance()) return;
        static int argc = 1;
        static char name[] = "editor-tests";
        static char* argv[] = {name, nullptr};
        application_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { application_.reset(); }

private:
    std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] const auto* g_environment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

// The editor's shared state as a fresh program has it.
void resetGlobals() {
    using namespace Globals;
    AppTerminating = false;
    LastErrDescription.clear();
    CurrSelEntityType = PrevSelEntityType = SelNone;
    CurrSelEntityHandle = PrevSelEntityHandle = 0;
    RootGrp = 0;
    CurrWorldFile.clear();
    WorldSize = 1000.0;
    ShowBndBox = true;
    CurrToolMode = ToolSelect;
    OverlayDC = nullptr;
    // A test that presses in a view without releasing leaves no drag behind.
    undo::TransformDragFlag() = false;
}

int32_t makeSquare(int32_t group, double z) { return MakePolygon(group, {{-50, -50}, {-50, 50}, {50, 50}, {50, -50}}, z); }

}  // namespace

int32_t MakeGroup(const std::string& name, int32_t father) {
    const int32_t g = OMBREL_group_create(name.c_str());
    OMBREL_group_set_father_group(g, father);
    return g;
}

int32_t MakePolygon(int32_t group, const std::vector<std::array<double, 2>>& corners, double z) {
    const int32_t p = OMBREL_polygon_create();
    for (const auto& c : corners) {
        const double record[6] = {c[0], c[1], z, 0, 0, 100};
        OMBREL_polygon_add_point(p, record);
    }
    OMBREL_polygon_set_group(p, group);
    OMBREL_engine_add_polygon(p);
    return p;
}

std::vector<int32_t> PolygonsOf(int32_t group) {
    std::vector<int32_t> out;
    for (int32_t p = OMBREL_group_get_first_polygon(group); p; p = OMBREL_group_get_next_polygon(group, p)) out.push_back(p);
    return out;
}

std::vector<int32_t> SelectedPolygons() {
    std::vector<int32_t> out;
    for (int32_t i = 1; i <= Globals::NumSelPols; ++i) out.push_back(Globals::SelPols[i]);
    return out;
}

void ReleaseOverTree(KeyedTree& tree, QTreeWidgetItem* over, Qt::MouseButton button) {
    tree.show();
    QPointF at(5, tree.viewport()->height() - 3);
    if (!over) {
        // Below the last row shown.
        int bottom = 0;
        for (QTreeWidgetItemIterator it(&tree); *it; ++it)
            if (const QRect row = tree.visualItemRect(*it); row.isValid()) bottom = std::max(bottom, row.bottom());
        ASSERT_LT(bottom + 3, tree.viewport()->height()) << "no empty space below the rows";
    } else {
        tree.EnsureVisible(over);
        const QRect row = tree.visualItemRect(over);
        ASSERT_TRUE(row.isValid());
        at = row.center();
    }
    QMouseEvent e(QEvent::MouseButtonRelease, at, tree.viewport()->mapToGlobal(at), button, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &e);
}

EditorFixture::EditorFixture() {
    resetGlobals();
    programFolder_ = dir_.filePath("program").toStdString() + "/";
    std::filesystem::create_directories(programFolder_);
    const std::string engine = ombrel_loader::libraryFileName();
    std::filesystem::create_symlink(std::string(TALVORA_PROGRAM_DIR) + "/" + engine, programFolder_ + engine);
    platform::setProgramFolder(programFolder_);
    const auto loaded = ombrel_loader::load(programFolder_ + engine);
    if (loaded.status != ombrel_loader::Status::Loaded) ADD_FAILURE() << "the engine did not load: " << loaded.reason;
}

EditorFixture::~EditorFixture() {
    if (form_ && !form_->QuitFlag) {
        // Shut down as after "terminate": no save question is left for the script.
        Globals::AppTerminating = true;
        form_->close();
    }
    form_.reset();
    resetGlobals();
    ombrel_loader::unload();
    platform::setProgramFolder("");
}

Form1& EditorFixture::BuildEditor(const std::string& commandLine) {
    form_ = std::make_unique<Form1>();
    form_->CommandLine = commandLine;
    return *form_;
}

Form1& EditorFixture::StartEditor(const std::string& commandLine) {
    BuildEditor(commandLine);
    EXPECT_TRUE(form_->Form_Load());
    return *form_;
}

void EditorFixture::OpenEmptyWorld() {
    // A new world is followed by the template chooser: keep the world empty.
    platform_.prompts.answerWindow<formTemplate>([](formTemplate& w) { w.cmdCancel_Click(); });
    form_->NewWorld();
    ASSERT_TRUE(form_->WorldLoaded);
}

int32_t EditorFixture::OpenSmallWorld() {
    OpenEmptyWorld();
    const int32_t group = OMBREL_group_create("box");
    OMBREL_group_set_father_group(group, Globals::RootGrp);
    makeSquare(group, 0);
    makeSquare(group, 100);
    form_->trwGroupView_Populate();
    return group;
}

std::string EditorFixture::SaveSmallWorldFile(const std::string& name) {
    // Straight through the engine, so no window is needed; it replaces any world
    // the engine holds.
    const std::string path = tempPath(name);
    EXPECT_EQ(OMBREL_engine_load_world(nullptr, nullptr, nullptr, 4), 0);
    const int32_t root = OMBREL_group_create("the_world");
    const int32_t group = OMBREL_group_create("box");
    OMBREL_group_set_father_group(group, root);
    makeSquare(group, 0);
    makeSquare(group, 100);
    EXPECT_EQ(OMBREL_engine_save(path.c_str(), root, 0x1203), 0);
    OMBREL_engine_close();
    return path;
}

int32_t EditorFixture::AddWorldFromMenu(const std::string& path) {
    platform_.prompts.answerOpenFile(path);
    form_->mnuAddWorld->trigger();
    return form_->AddedWorldRootGrp;
}

std::array<int32_t, 2> EditorFixture::PixelOf(int view, double x, double y, double z) {
    const auto index = static_cast<std::size_t>(view);
    OMBREL_camera_set_current(Globals::ViewCams[index]->lngSceneCamera, form_->picWindow[index]->hWnd());
    const double p[3] = {x, y, z};
    std::array<int32_t, 2> px = {0, 0};
    EXPECT_EQ(OMBREL_engine_3D_point_to_2D(p, px.data()), 0);
    EXPECT_TRUE(px[0] > 0 && px[0] < form_->picWindow[index]->width() && px[1] > 0 &&
                px[1] < form_->picWindow[index]->height())
        << px[0] << ", " << px[1];
    return px;
}

void EditorFixture::ClickView(int view, const std::array<int32_t, 2>& at, int key, int button) {
    platform::clearKeyState();
    if (key) platform::setKeyHeld(key, true);
    form_->picWindow_MouseDown(view, button, 0, static_cast<float>(at[0]), static_cast<float>(at[1]));
    form_->picWindow_MouseUp(view, button, 0, static_cast<float>(at[0]), static_cast<float>(at[1]));
    platform::clearKeyState();
}

std::string EditorFixture::tempPath(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
