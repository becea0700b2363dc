// The File menu's world commands driven with every prompt scripted: new, open,
// merge, save, save as, close, the save question before a world is discarded,
// the root-group rule, the world size and the command line.
#include "EditorFixture.h"
#include "bmp_writer.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/SelectionChange.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "mainwindow/RecentFiles.h"
#include "mainwindow/formTemplate.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QAction>
#include <QLineEdit>
#include <QTabWidget>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

using platform::MsgResult;
using platform::doubles::PromptKind;

namespace {

std::vector<std::string> messages(const platform::doubles::ScriptedPrompts& prompts) {
    std::vector<std::string> texts;
    for (const auto& p : prompts.shown())
        if (p.kind == PromptKind::Message) texts.push_back(p.text);
    return texts;
}

std::string caption(const Form1& f) { return f.windowTitle().toStdString(); }

std::string groupName(int32_t group) { return Globals::GetEntityName(group); }

// The file's "atmosphere" line, "" when it has none.
std::string atmosphereLine(const std::string& path) {
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("atmosphere ", 0) == 0) return line;
    return "";
}

}  // namespace

using WorldFilesTest = EditorFixture;

TEST_F(WorldFilesTest, ANewWorldIsUntitledWithItsRootGroupAndStandardSize) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    EXPECT_EQ(caption(f), "TALVORA - Untitled.wld");
    EXPECT_EQ(Globals::CurrWorldFile, "Untitled.wld");
    EXPECT_EQ(groupName(Globals::RootGrp), "the_world");
    EXPECT_EQ(Globals::WorldSize, 1000.0);
    EXPECT_TRUE(f.mnuAddWorld->isEnabled());
}

TEST_F(WorldFilesTest, OpeningAWorldCaptionsItAndPutsItOnTopOfTheRecentFiles) {
    const std::string path = SaveSmallWorldFile("small world.wld");
    Form1& f = StartEditor();
    platform_.prompts.answerOpenFile(path);
    f.mnuOpenFile->trigger();
    ASSERT_TRUE(f.WorldLoaded);
    EXPECT_EQ(caption(f), "TALVORA [" + path + "]");
    EXPECT_EQ(Globals::CurrWorldFile, path);
    EXPECT_EQ(OMBREL_group_get_using_name("the_world"), Globals::RootGrp);
    // The two squares 100 apart are 100 wide every way.
    EXPECT_DOUBLE_EQ(Globals::WorldSize, 100.0);
    EXPECT_EQ(f.MRUList->Tag(0), path);
}

TEST_F(WorldFilesTest, FatherlessGroupsAreAdoptedByANewRootGroup) {
    // A world saved from a group that is not "the_world" has no root of that name.
    const std::string path = tempPath("loose.wld");
    ASSERT_EQ(OMBREL_engine_load_world(nullptr, nullptr, nullptr, 4), 0);
    const int32_t top = OMBREL_group_create("loose");
    const int32_t child = OMBREL_group_create("child");
    OMBREL_group_set_father_group(child, top);
    ASSERT_EQ(OMBREL_engine_save(path.c_str(), top, 0x1203), 0);
    OMBREL_engine_close();

    StartEditor().LoadWorld(path);
    const int32_t root = Globals::RootGrp;
    EXPECT_EQ(groupName(root), "the_world");
    const int32_t loose = OMBREL_group_get_using_name("loose");
    EXPECT_EQ(OMBREL_group_get_father_group(loose), root);
    EXPECT_EQ(OMBREL_group_get_father_group(OMBREL_group_get_using_name("child")), loose);
    // No polygon: the standard distance, not zero.
    EXPECT_EQ(Globals::WorldSize, 10000.0);
}

TEST_F(WorldFilesTest, AFileTheEngineRefusesLeavesNoWorldOpen) {
    const std::string garbage = tempPath("garbage.wld");
    std::ofstream(garbage) << "this is not a world\n\x01\x02";
    const std::string folder = tempPath("folder.wld");
    std::filesystem::create_directory(folder);
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {{"missing", tempPath("missing.wld")}, {"not a world", garbage}, {"a folder", folder}};
    Form1& f = StartEditor();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform_.prompts.answer(MsgResult::OK);
        f.LoadWorld(c.path);
        EXPECT_FALSE(f.WorldLoaded);
        EXPECT_EQ(caption(f), "TALVORA");
        EXPECT_FALSE(f.mnuSave->isEnabled());
        EXPECT_EQ(messages(platform_.prompts).back(), "Error Loading World");
    }
}

TEST_F(WorldFilesTest, SaveAsAsksBeforeReplacingAFile) {
    const std::string existing = tempPath("existing.wld");
    std::ofstream(existing) << "old";
    const std::string other = tempPath("other.wld");
    struct Case {
        const char* name;
        MsgResult answer;
        std::string savedTo;  // "" = nothing written
    };
    const Case cases[] = {
        {"yes replaces", MsgResult::Yes, existing},
        {"no asks for another name", MsgResult::No, other},
        {"cancel writes nothing", MsgResult::Cancel, ""},
    };
    Form1& f = StartEditor();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(existing) << "old";
        std::filesystem::remove(other);
        OpenSmallWorld();
        platform_.prompts.answerSaveFile(existing).answer(c.answer);
        if (c.answer == MsgResult::No) platform_.prompts.answerSaveFile(other);
        EXPECT_EQ(f.mnuSaveAs_Click(), !c.savedTo.empty());
        EXPECT_EQ(messages(platform_.prompts).back(), "This file already exist. Do you wish to replace it?");
        if (c.savedTo.empty()) {
            EXPECT_EQ(Globals::CurrWorldFile, "Untitled.wld");
            EXPECT_EQ(caption(f), "TALVORA - Untitled.wld");
            continue;
        }
        EXPECT_EQ(Globals::CurrWorldFile, c.savedTo);
        EXPECT_EQ(caption(f), "TALVORA - " + c.savedTo);
        EXPECT_EQ(f.MRUList->Tag(0), c.savedTo);
        EXPECT_EQ(OMBREL_engine_load_world(c.savedTo.c_str(), "", "", 4), 0);
        EXPECT_NE(OMBREL_group_get_using_name("box"), 0);
        f.UnloadWorld();
    }
}

TEST_F(WorldFilesTest, ANameThatIsNoWorldFileGetsTheWorldExtension) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    const std::string name = tempPath("plain");
    platform_.prompts.answerSaveFile(name);
    ASSERT_TRUE(f.mnuSaveAs_Click());
    EXPECT_EQ(Globals::CurrWorldFile, name + ".wld");
    EXPECT_TRUE(std::filesystem::exists(name + ".wld"));
    EXPECT_FALSE(std::filesystem::exists(name));
}

TEST_F(WorldFilesTest, AFailedSaveSaysSoAndChangesNothing) {
    const std::string blocker = tempPath("a file");
    std::ofstream(blocker) << "x";
    const std::string folder = tempPath("folder.wld");
    std::filesystem::create_directory(folder);
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {{"parent is a file", blocker + "/world.wld"}, {"an existing folder", folder}};
    Form1& f = StartEditor();
    OpenSmallWorld();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform_.prompts.answerSaveFile(c.path).answer(MsgResult::OK);
        EXPECT_FALSE(f.mnuSave_Click());
        // The engine's reason goes on the line below, naming the file.
        const std::string said = messages(platform_.prompts).back();
        EXPECT_EQ(said.substr(0, said.find('\n')), "Error Saving World");
        EXPECT_NE(said.find("\ncannot write " + c.path + ": "), std::string::npos) << said;
        EXPECT_EQ(Globals::CurrWorldFile, "Untitled.wld");
        EXPECT_EQ(caption(f), "TALVORA - Untitled.wld");
        EXPECT_EQ(f.MRUList->LastIndex(), -1);
    }
    // A world opened from a file fails the same way when the file became a folder.
    const std::string path = SaveSmallWorldFile("then a folder.wld");
    f.LoadWorld(path);
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    // The save's busy pointer is gone by the time the box says it failed.
    platform_.prompts.answer(MsgResult::OK, [&] {
        EXPECT_EQ(f.picWindow[0]->MousePointer(), 99);
        EXPECT_EQ(f.StatusBarPanel(3), "");
    });
    EXPECT_FALSE(f.mnuSave_Click());
    EXPECT_EQ(messages(platform_.prompts).back(), "Error Saving World\ncannot write " + path + ": it is a folder");
    EXPECT_EQ(caption(f), "TALVORA [" + path + "]");
}

TEST_F(WorldFilesTest, AWorldReadFromAnotherFormatIsSavedUnderAWorldName) {
    // The engine reads .ombrel; the editor never writes into one.
    const std::string small = SaveSmallWorldFile("small.wld");
    const std::string ombrel = tempPath("model.ombrel");
    std::filesystem::copy_file(small, ombrel);
    Form1& f = StartEditor();
    f.LoadWorld(ombrel);
    ASSERT_TRUE(f.WorldLoaded);
    const auto before = std::filesystem::last_write_time(ombrel);
    const std::string wld = tempPath("model.wld");
    platform_.prompts.answerSaveFile(wld);
    ASSERT_TRUE(f.mnuSave_Click());
    const auto& prompt = platform_.prompts.shown().back();
    EXPECT_EQ(prompt.kind, PromptKind::SaveFile);
    EXPECT_EQ(prompt.text, wld);  // the name offered
    EXPECT_EQ(Globals::CurrWorldFile, wld);
    EXPECT_EQ(std::filesystem::last_write_time(ombrel), before);
}

TEST_F(WorldFilesTest, SaveWritesAnOpenedWorldInPlaceWithoutAsking) {
    const std::string path = SaveSmallWorldFile("in place.wld");
    Form1& f = StartEditor();
    f.LoadWorld(path);
    OMBREL_group_set_name(OMBREL_group_get_using_name("box"), "renamed");
    EXPECT_TRUE(f.mnuSave_Click());
    EXPECT_TRUE(messages(platform_.prompts).empty());
    EXPECT_EQ(caption(f), "TALVORA [" + path + "]");
    f.UnloadWorld();
    ASSERT_EQ(OMBREL_engine_load_world(path.c_str(), "", "", 4), 0);
    EXPECT_NE(OMBREL_group_get_using_name("renamed"), 0);
}

// Every command that would discard an open world asks first: Yes saves and goes
// on only when the save completed, No goes on, Cancel changes nothing.
TEST_F(WorldFilesTest, CommandsThatDiscardTheWorldAskToSaveIt) {
    const std::string next = SaveSmallWorldFile("next.wld");
    struct Command {
        std::string name;
        std::function<void(Form1&)> run;
        bool replacesWorld;  // else closes it
    };
    const Command commands[] = {
        {"new", [](Form1& f) { f.mnuNew->trigger(); }, true},
        {"open", [](Form1& f) { f.mnuOpenFile->trigger(); }, true},
        {"close", [](Form1& f) { f.mnuCloseFile->trigger(); }, false},
    };
    Form1& f = StartEditor();
    for (const Command& c : commands) {
        for (MsgResult answer : {MsgResult::Cancel, MsgResult::No, MsgResult::Yes}) {
            SCOPED_TRACE(c.name + " answered " + std::to_string(static_cast<int>(answer)));
            const std::string saved = tempPath("saved " + c.name + ".wld");
            std::filesystem::remove(saved);
            OpenSmallWorld();
            if (c.name == "open") platform_.prompts.answerOpenFile(next);
            platform_.prompts.answer(answer);
            if (answer == MsgResult::Yes) platform_.prompts.answerSaveFile(saved);
            const bool goesOn = answer != MsgResult::Cancel;
            if (goesOn && c.name == "new")
                platform_.prompts.answerWindow<formTemplate>([](formTemplate& w) { w.cmdCancel_Click(); });
            c.run(f);
            EXPECT_EQ(messages(platform_.prompts).back(), "Save changes?");
            EXPECT_EQ(std::filesystem::exists(saved), answer == MsgResult::Yes);
            if (!goesOn) {
                EXPECT_TRUE(f.WorldLoaded);
                EXPECT_NE(OMBREL_group_get_using_name("box"), 0);
            } else {
                EXPECT_EQ(f.WorldLoaded, c.replacesWorld);
            }
            f.UnloadWorld();
        }
    }
}

TEST_F(WorldFilesTest, AClosedWorldLeavesNoTraceInTheSelectionPanel) {
    struct Command {
        std::string name;
        std::function<void(Form1&)> run;
    };
    const Command commands[] = {
        {"new",
         [this](Form1& f) {
             platform_.prompts.answer(MsgResult::No);
             platform_.prompts.answerWindow<formTemplate>([](formTemplate& w) { w.cmdCancel_Click(); });
             f.mnuNew->trigger();
         }},
        {"close",
         [this](Form1& f) {
             platform_.prompts.answer(MsgResult::No);
             f.mnuCloseFile->trigger();
         }},
        {"fetch",
         [this](Form1& f) {
             f.mnuHold_Click();
             platform_.prompts.answer(MsgResult::OK);
             f.mnuFetch->trigger();
         }},
    };
    Form1& f = StartEditor();
    for (const Command& c : commands) {
        SCOPED_TRACE(c.name);
        const int32_t group = OpenSmallWorld();
        Globals::SetPrevSelEntityToCurrSelEntity();
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group;
        Globals::ThingsToDoOnSelectedEntityChange();
        ASSERT_EQ(f.txtSelectedGrpName->text(), "box");
        c.run(f);
        EXPECT_EQ(f.txtSelectedGrpName->text(), "");
        // Disabled itself, not only inside the disabled panel.
        EXPECT_FALSE(f.txtSelectedGrpName->isEnabledTo(f.tabWorkspace));
        f.UnloadWorld();
    }
}

TEST_F(WorldFilesTest, AYesWhoseSaveIsCancelledKeepsTheWorld) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    platform_.prompts.answer(MsgResult::Yes).answerSaveFile("");
    f.mnuCloseFile->trigger();
    EXPECT_TRUE(f.WorldLoaded);
}

// The top view looks down on two white squares, one 1,500 units below the other,
// in a world saved with black fog.
TEST_F(WorldFilesTest, ALoadedWorldKeepsTheFogOfItsFileAndANewWorldStartsWithout) {
    const std::string path = tempPath("foggy.wld");
    ASSERT_EQ(OMBREL_engine_load_world(nullptr, nullptr, nullptr, 4), 0);
    const int32_t root = OMBREL_group_create("the_world");
    const int32_t squares = MakeGroup("squares", root);
    for (const int32_t p : {MakePolygon(squares, {{-300, -100}, {-300, 100}, {-100, 100}, {-100, -100}}, 0),
                            MakePolygon(squares, {{100, -100}, {100, 100}, {300, 100}, {300, -100}}, -1500)})
        OMBREL_polygon_set_color_fill(p, 255, 255, 255);
    OMBREL_engine_set_atmospheric_effect(0, 0, 0);
    OMBREL_engine_set_atmospheric_effect_intensity(0.0036);
    ASSERT_EQ(OMBREL_engine_save(path.c_str(), root, 0x1203), 0);
    OMBREL_engine_close();
    const std::string written = atmosphereLine(path);
    ASSERT_NE(written, "");

    Form1& f = StartEditor();
    f.LoadWorld(path);
    ASSERT_TRUE(f.WorldLoaded);
    EXPECT_DOUBLE_EQ(OMBREL_engine_get_atmospheric_effect_intensity(), 0.0036);
    const auto brightness = [&](double x, double z) {
        const std::array<int32_t, 2> px = PixelOf(0, x, 0, z);
        const QRgb c = f.picWindow[0]->buffer().pixel(px[0], px[1]);
        return qRed(c) + qGreen(c) + qBlue(c);
    };
    UpdateCameras();
    EXPECT_GT(brightness(-200, 0), brightness(200, -1500) + 60);

    // Saved without touching the fog: the file keeps its line.
    ASSERT_TRUE(f.mnuSave_Click());
    EXPECT_EQ(atmosphereLine(path), written);

    platform_.prompts.answer(MsgResult::No);  // "Save changes?"
    OpenEmptyWorld();
    EXPECT_EQ(OMBREL_engine_get_atmospheric_effect_intensity(), 0.0);
}

TEST_F(WorldFilesTest, AddWorldMergesUnderTheRootSelectsItAndCanBeUndone) {
    const std::string path = SaveSmallWorldFile("crate.wld");
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const int32_t added = AddWorldFromMenu(path);
    ASSERT_NE(added, 0);
    EXPECT_EQ(OMBREL_group_get_father_group(added), Globals::RootGrp);
    EXPECT_EQ(groupName(added), "crate");
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, added);
    EXPECT_NE(f.trwGroupView->Item(KeyedTree::NodeKey("Group", added)), nullptr);
    EXPECT_DOUBLE_EQ(Globals::WorldSize, 100.0);
    EXPECT_TRUE(f.mnuUndo->isVisible());
    // The open world's caption and file stay.
    EXPECT_EQ(Globals::CurrWorldFile, "Untitled.wld");

    f.mnuUndo->trigger();
    EXPECT_EQ(OMBREL_group_get_father_group(added), 0);
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
}

// A room with its own camera and light, using "shared.bmp", and a file of props
// bringing a group textured with their own bitmap, "shared.bmp" and an animation,
// a camera, a light, a track and a background. Undo of the merge takes back every
// one of them and nothing of the room; Redo brings them back as they were.
TEST_F(WorldFilesTest, UndoOfAddWorldTakesBackAllItBroughtAndRedoBringsItBack) {
    const auto bitmap = [&](const std::string& name, TestRgb colour) {
        const std::string path = tempPath("pictures/" + name);
        std::filesystem::create_directories(tempPath("pictures"));
        writeBmp24(path, 2, 2, std::vector<TestRgb>(4, colour));
        return path;
    };
    const std::string shared = bitmap("shared.bmp", {10, 20, 30});
    const std::string wood = bitmap("wood.bmp", {90, 60, 30});
    const std::string sky = bitmap("sky.bmp", {0, 0, 200});
    const std::string flame = bitmap("flame.bmp", {250, 120, 0});
    const auto writeWorld = [&](const std::string& name, const std::function<void(int32_t root)>& fill) {
        const std::string path = tempPath(name);
        EXPECT_EQ(OMBREL_engine_load_world(nullptr, nullptr, nullptr, 4), 0);
        const int32_t root = OMBREL_group_create("the_world");
        fill(root);
        EXPECT_EQ(OMBREL_engine_save(path.c_str(), root, 0x1203), 0);
        OMBREL_engine_close();
        return path;
    };
    const double origin[3] = {0, 0, 0};
    const std::string room = writeWorld("room.wld", [&](int32_t root) {
        const int32_t floor = MakeGroup("floor", root);
        OMBREL_polygon_set_bitmap_fill(MakePolygon(floor, {{0, 0}, {0, 50}, {50, 50}, {50, 0}}),
                                       OMBREL_bitmap_load(shared.c_str(), -1));
        OMBREL_camera_set_save_flag(OMBREL_camera_create("RoomCam"), 1);
        OMBREL_light_set_save_flag(OMBREL_light_create("RoomLamp", origin), 1);
    });
    const std::string props = writeWorld("props.wld", [&](int32_t root) {
        const int32_t crate = MakeGroup("crate", root);
        OMBREL_polygon_set_bitmap_fill(MakePolygon(crate, {{0, 0}, {0, 9}, {9, 9}, {9, 0}}),
                                       OMBREL_bitmap_load(wood.c_str(), -1));
        OMBREL_polygon_set_bitmap_fill(MakePolygon(crate, {{0, 0}, {0, 9}, {9, 9}, {9, 0}}, 9),
                                       OMBREL_bitmap_load(shared.c_str(), -1));
        const int32_t fire = OMBREL_animation_create("Fire");
        OMBREL_animation_add_bitmap(fire, 1, OMBREL_bitmap_load(flame.c_str(), -1), 0);
        OMBREL_polygon_set_animation(MakePolygon(crate, {{0, 0}, {0, 9}, {9, 9}, {9, 0}}, 18), fire);
        OMBREL_camera_set_save_flag(OMBREL_camera_create("PropCam"), 1);
        OMBREL_light_set_save_flag(OMBREL_light_create("PropLamp", origin), 1);
        const double points[6] = {0, 0, 0, 10, 0, 0};
        OMBREL_track_create("PropPath", 0, points, 2);
        OMBREL_background_create("PropSky", OMBREL_bitmap_load(sky.c_str(), -1));
    });

    Form1& f = StartEditor();
    f.LoadWorld(room);
    ASSERT_TRUE(f.WorldLoaded);
    // What the trees show, node by node (the textures page in any order: it is
    // rebuilt in the engine's), and what a save writes.
    using Shown = std::vector<std::pair<std::string, std::string>>;
    const auto shown = [&] {
        Shown nodes;
        for (KeyedTree* tree : {f.trwGroupView, f.trwCamTrackBK, f.trwLight, f.trwTextures}) {
            const std::size_t first = nodes.size();
            for (const std::string& key : tree->Keys())
                nodes.emplace_back(key, tree->Item(key)->text(0).toStdString());
            if (tree == f.trwTextures) std::sort(nodes.begin() + static_cast<long>(first), nodes.end());
        }
        return nodes;
    };
    const auto saved = [&] {
        EXPECT_TRUE(f.mnuSave_Click());
        std::ifstream in(room);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const Shown roomShown = shown();
    const std::string roomSaved = saved();

    ASSERT_NE(AddWorldFromMenu(props), 0);
    // A merged bitmap updated from its file (now a JPEG) comes under a new handle;
    // the merge's record follows it.
    const int32_t woodBefore = OMBREL_bitmap_get_handle(wood.c_str(), -1);
    const std::string woodJpeg = tempPath("pictures/wood.jpg");
    ASSERT_EQ(OMBREL_utilities_save_bitmap24(woodBefore, woodJpeg.c_str()), 0);
    std::filesystem::remove(wood);
    f.trwTextures->SetSelectedItem(f.trwTextures->Item(textures::MapKey(woodBefore)));
    f.mnuTextureUpdate_Click();
    ASSERT_NE(OMBREL_bitmap_get_handle(woodJpeg.c_str(), -1), woodBefore);
    const Shown mergedShown = shown();
    const std::string mergedSaved = saved();
    // The merged root and crate, camera, track, background, light, and the bitmaps
    // and animation of the textures page that only the props use.
    ASSERT_EQ(mergedShown.size(), roomShown.size() + 9);
    const int32_t propCam = OMBREL_camera_get_using_name("PropCam");
    const int32_t propLamp = OMBREL_light_get_using_name("PropLamp");
    const int32_t roomLamp = OMBREL_light_get_using_name("RoomLamp");

    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        f.mnuUndo_Click();
        EXPECT_EQ(shown(), roomShown);
        EXPECT_EQ(saved(), roomSaved);
        // Nothing of the merge is seen or lights the room; the room's own light still does.
        EXPECT_EQ(OMBREL_group_is_disable(Globals::SceneCameras->GetCamGrp(propCam)), 1);
        EXPECT_EQ(OMBREL_group_is_disable(Globals::SceneLights->GetLightGrp(propLamp)), 1);
        EXPECT_EQ(OMBREL_light_is_disabled(propLamp), 1);
        EXPECT_EQ(OMBREL_light_is_disabled(roomLamp), 0);

        f.mnuRedo_Click();
        EXPECT_EQ(shown(), mergedShown);
        EXPECT_EQ(saved(), mergedSaved);
        EXPECT_EQ(OMBREL_group_is_disable(Globals::SceneCameras->GetCamGrp(propCam)), 0);
        EXPECT_EQ(OMBREL_light_is_disabled(propLamp), 0);
    }

    // Undone and then dropped from the history: what only the merge used is
    // destroyed, the shared bitmap stays with the room.
    f.mnuUndo_Click();
    const std::vector<int32_t> merged = {propCam, propLamp, OMBREL_track_get_using_name("PropPath"),
                                         OMBREL_background_get_handle("PropSky"),
                                         OMBREL_animation_get_handle("Fire")};
    Globals::UndoRedoStack->Reset();
    for (const int32_t h : merged) EXPECT_EQ(OMBREL_ext_handle_kind(h), 0) << h;
    EXPECT_NE(OMBREL_bitmap_get_handle(shared.c_str(), -1), 0);
    EXPECT_EQ(saved(), roomSaved);
}

TEST_F(WorldFilesTest, AddWorldRefusesTheOpenFileAndReportsAFailedMerge) {
    const std::string path = SaveSmallWorldFile("open.wld");
    const std::string garbage = tempPath("garbage.wld");
    std::ofstream(garbage) << "no world here";
    Form1& f = StartEditor();
    f.LoadWorld(path);
    struct Case {
        std::string file;
        std::vector<std::string> said;
    };
    const std::string link = tempPath("link.wld");
    std::filesystem::create_symlink(path, link);
    const Case cases[] = {
        {path, {"This file is the one that is opened", "Failed adding world!"}},
        {std::filesystem::path(path).parent_path().string() + "/./open.wld", {"This file is the one that is opened", "Failed adding world!"}},
        {link, {"This file is the one that is opened", "Failed adding world!"}},
        {garbage, {"Failed adding world!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::size_t before = messages(platform_.prompts).size();
        platform_.prompts.answerOpenFile(c.file);
        for (std::size_t i = 0; i < c.said.size(); ++i) platform_.prompts.answer(MsgResult::OK);
        f.mnuAddWorld->trigger();
        const auto said = messages(platform_.prompts);
        EXPECT_EQ(std::vector<std::string>(said.begin() + static_cast<long>(before), said.end()), c.said);
        EXPECT_EQ(f.AddedWorldRootGrp, 0);
        EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
        EXPECT_FALSE(f.mnuUndo->isVisible());
    }
}

TEST_F(WorldFilesTest, TheCommandLineNamesOneWorldWhateverItsCharacters) {
    struct Case {
        const char* name;
        std::string file;
        bool quoted;
        std::string commandLine(const std::string& path) const { return quoted ? " \"" + path + "\"  " : path; }
    };
    const Case cases[] = {
        {"spaces", "my small world.wld", false},
        {"quoted spaces", "my small world.wld", true},
        {"quotes inside", "a \"quoted\" name.wld", true},
        {"non-ASCII", "m\xC3\xBCnster \xE5\x9C\xB0\xE5\x9B\xBE.wld", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = SaveSmallWorldFile(c.file);
        Form1& f = StartEditor(c.commandLine(path));
        EXPECT_TRUE(f.WorldLoaded);
        EXPECT_EQ(Globals::CurrWorldFile, path);
        // The command line opens without asking anything.
        EXPECT_TRUE(messages(platform_.prompts).empty());
        Globals::AppTerminating = true;
        f.close();
        Globals::AppTerminating = false;
    }
}
