// Light-map files: maps live in memory, their files written in the run's own
// folder only when needed (a caller asking, a save referencing them), until a save
// with the light-map flag gives them files next to the world, never over another
// file; a failed write keeps the map in memory; the run folder goes with the
// program, and folders that killed runs left go at the next start.
#include "lightmap_helpers.h"
#include "world_file_helpers.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int32_t kEditorSave = 0x1203;

// Every file below dir with its bytes.
std::map<std::string, std::string> snapshot(const fs::path& dir) {
    std::map<std::string, std::string> out;
    std::error_code ec;
    if (!fs::exists(dir, ec)) return out;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (!e.is_regular_file()) continue;
        std::ifstream in(e.path(), std::ios::binary);
        out[fs::relative(e.path(), dir).string()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return out;
}

std::vector<int32_t> lightMaps() {
    std::vector<int32_t> out;
    for (int32_t b = OMBREL_bitmap_get_first_bitmap(); b; b = OMBREL_bitmap_get_next(b))
        if (entityName(b).find("LIGHTMAP_") != std::string::npos) out.push_back(b);
    return out;
}

std::vector<std::string> lightMapNames() {
    std::vector<std::string> out;
    for (int32_t b : lightMaps()) out.push_back(entityName(b));
    return out;
}

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void collectLog(int32_t, const char* text, void* user) { static_cast<std::string*>(user)->append(text).append("\n"); }

// A lit floor in its group, its map computed; returns the floor.
int32_t litFloor(double x, int32_t* groupOut = nullptr) {
    const int32_t group = OMBREL_group_create("floor");
    if (groupOut) *groupOut = group;
    const int32_t floor = makeSquareFacingUp(group, x, 0, 0, 6);
    plainLight("lamp", {x, 0, 5}, 0.2, 0.7);
    EXPECT_NE(OMBREL_polygon_create_lightmap(floor, 64, 1, 1, 0, 2), 0) << OMBREL_ext_get_last_error();
    return floor;
}

using LightMapFilesTest = EngineTest;

TEST_F(LightMapFilesTest, SavesNeverOverwriteAndASecondSaveWritesNothing) {
    FileFolder folder;
    const fs::path bitmaps = folder.path() / "bitmaps";
    // World B saved first into the folder.
    int32_t group = 0;
    litFloor(0, &group);
    ASSERT_EQ(OMBREL_engine_save(folder.file("b.wld").c_str(), group, kEditorSave), 0) << OMBREL_ext_get_last_error();
    const auto afterB = snapshot(bitmaps);
    ASSERT_EQ(afterB.size(), 1u);
    OMBREL_engine_close();

    // World A, in the same folder: its map gets a name of its own.
    ASSERT_EQ(OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR), 0);
    const int32_t floor = litFloor(100, &group);
    const std::string a = folder.file("a.wld");
    ASSERT_EQ(OMBREL_engine_save(a.c_str(), group, kEditorSave), 0) << OMBREL_ext_get_last_error();
    const auto afterA = snapshot(bitmaps);
    ASSERT_EQ(afterA.size(), 2u);
    for (const auto& [name, bytes] : afterB) EXPECT_EQ(afterA.at(name), bytes) << "B's map " << name << " kept";

    // Saving A again writes nothing.
    const auto worldBefore = snapshot(folder.path());
    ASSERT_EQ(OMBREL_engine_save(a.c_str(), group, kEditorSave), 0);
    EXPECT_EQ(snapshot(bitmaps), afterA);

    // A recompute and a close without saving: A reloads with every map it saved.
    ASSERT_NE(OMBREL_polygon_create_lightmap(floor, 64, 1, 2, 0, 2), 0);
    EXPECT_EQ(snapshot(bitmaps), afterA) << "a computation touches no saved file";
    OMBREL_engine_close();
    std::string log;
    OMBREL_ext_set_log_callback(collectLog, &log);
    ASSERT_EQ(OMBREL_engine_load_world(a.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << OMBREL_ext_get_last_error();
    OMBREL_ext_set_log_callback(nullptr, nullptr);
    EXPECT_EQ(log.find("placeholder"), std::string::npos) << log;
    ASSERT_EQ(lightMapNames().size(), 1u);
    EXPECT_EQ(fs::path(lightMapNames()[0]).parent_path(), bitmaps);
    EXPECT_EQ(worldBefore.at("a.wld"), snapshot(folder.path()).at("a.wld"));
}

// Opening and saving an unchanged world writes the bytes it was read from: a map
// saved beside the world is named by its file there, as the reopened world names
// it, never by the run folder it was made in. A world of the earlier rule, naming
// its maps by that folder, opens with its maps and saves by the rule.
TEST_F(LightMapFilesTest, AnUnchangedWorldSavesTheSameBytes) {
    struct Case {
        const char* what;
        bool maps;
    };
    for (const Case c : {Case{"with light maps", true}, Case{"a textured world without", false}}) {
        SCOPED_TRACE(c.what);
        FileFolder folder;
        const std::string world = folder.file("w.wld");
        ASSERT_EQ(OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR), 0);
        const int32_t root = OMBREL_group_create("root");
        writeBmp(folder.file("pictures/bricks.bmp"), 4, 4, {200, 40, 10});
        OMBREL_polygon_set_bitmap_fill(makeSquareFacingUp(root, 20, 0, 0, 4),
                                       OMBREL_bitmap_load(folder.file("pictures/bricks.bmp").c_str(), -1));
        std::string runFolder;
        if (c.maps) {
            int32_t group = 0;
            litFloor(0, &group);
            OMBREL_group_set_father_group(group, root);
            ASSERT_NE(OMBREL_polygon_create_lightmap(makeSquareFacingUp(group, 10, 0, 0, 4), 64, 1, 1, 0, 1), 0);
            ASSERT_EQ(lightMaps().size(), 2u);
            runFolder = fs::path(lightMapNames()[0]).parent_path().string();
        }
        ASSERT_EQ(OMBREL_engine_save(world.c_str(), root, kEditorSave), 0) << OMBREL_ext_get_last_error();
        const std::string first = bytesOf(world);
        if (c.maps) {
            EXPECT_EQ(first.find(runFolder), std::string::npos) << first;
        }
        ASSERT_EQ(OMBREL_engine_save(world.c_str(), root, kEditorSave), 0);
        EXPECT_EQ(bytesOf(world), first) << "saved again before a reopen";

        OMBREL_engine_close();
        ASSERT_EQ(OMBREL_engine_load_world(world.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << OMBREL_ext_get_last_error();
        ASSERT_EQ(OMBREL_engine_save(world.c_str(), OMBREL_group_get_using_name("root"), kEditorSave), 0);
        EXPECT_EQ(bytesOf(world), first) << "saved after a reopen";
        const auto mapFiles = snapshot(folder.path() / "bitmaps");

        if (!c.maps) continue;
        // The same world as the earlier rule wrote it, in the same folder.
        std::string earlier = first;
        const std::string bitmaps = (folder.path() / "bitmaps").string();
        for (std::size_t at = 0; (at = earlier.find("\"" + bitmaps + "/LIGHTMAP_", at)) != std::string::npos;) {
            const std::size_t end = earlier.find('"', at + 1);
            const std::string name = earlier.substr(at + 1, end - at - 1);
            if (name.size() < 4 || name.compare(name.size() - 4, 4, ".bmp") == 0) {
                at = end + 1;
                continue;
            }
            const std::string old = "/tmp/ombrel-" + std::to_string(::getpid()) + "-Gone99/" + fs::path(name).filename().string();
            earlier.replace(at + 1, name.size(), old);
            at += old.size() + 2;
        }
        ASSERT_NE(earlier, first);
        const std::string older = folder.file("older.wld");
        writeText(older, earlier);
        OMBREL_engine_close();
        std::string log;
        OMBREL_ext_set_log_callback(collectLog, &log);
        ASSERT_EQ(OMBREL_engine_load_world(older.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << OMBREL_ext_get_last_error();
        OMBREL_ext_set_log_callback(nullptr, nullptr);
        EXPECT_EQ(log.find("placeholder"), std::string::npos) << log;
        for (const std::string& n : lightMapNames()) EXPECT_EQ(fs::path(n).parent_path(), fs::path(bitmaps));
        ASSERT_EQ(OMBREL_engine_save(older.c_str(), OMBREL_group_get_using_name("root"), kEditorSave), 0);
        EXPECT_EQ(bytesOf(older), first) << "saved by the rule";
        EXPECT_EQ(snapshot(folder.path() / "bitmaps"), mapFiles) << "the maps keep their files";
    }
}

// A world folder copied whole reads the maps in its own bitmaps/, not those its
// records name in the folder it came from, and its save names them there and
// writes no second set; a second save writes the same bytes.
TEST_F(LightMapFilesTest, ACopiedWorldFolderOpensAndSavesItsOwnMaps) {
    FileFolder folder;
    const fs::path original = folder.path() / "original", copy = folder.path() / "copy";
    fs::create_directories(original);
    const int32_t root = OMBREL_group_create("root");
    for (double x : {0.0, 20.0}) {
        int32_t group = 0;
        litFloor(x, &group);
        OMBREL_group_set_father_group(group, root);
    }
    ASSERT_EQ(OMBREL_engine_save((original / "w.wld").c_str(), root, kEditorSave), 0) << OMBREL_ext_get_last_error();
    OMBREL_engine_close();
    fs::copy(original, copy, fs::copy_options::recursive);
    const auto copied = snapshot(copy);
    ASSERT_EQ(copied.size(), 3u) << "the world and its two maps";
    // The original's maps change after the copy: the copy must not see it.
    for (const auto& entry : fs::directory_iterator(original / "bitmaps")) writeBmp(entry.path().string(), 3, 2, {9, 9, 9});
    const auto originalAfter = snapshot(original);

    const std::string path = (copy / "w.wld").string();
    ASSERT_EQ(OMBREL_engine_load_world(path.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << OMBREL_ext_get_last_error();
    ASSERT_EQ(lightMaps().size(), 2u);
    for (int32_t map : lightMaps()) {
        EXPECT_EQ(fs::path(entityName(map)).parent_path(), copy / "bitmaps");
        EXPECT_NE(OMBREL_bitmap_get_width(map), 3) << "the original's file was read";
    }
    const auto save = [&] {
        return OMBREL_engine_save(path.c_str(), OMBREL_group_get_using_name("root"), kEditorSave);
    };
    ASSERT_EQ(save(), 0) << OMBREL_ext_get_last_error();
    const auto saved = snapshot(copy);
    EXPECT_EQ(saved.size(), copied.size()) << "a second set of maps";
    for (const auto& [name, bytes] : copied) {
        if (name != "w.wld") {
            EXPECT_EQ(saved.count(name) ? saved.at(name) : "", bytes) << name;
        }
    }
    std::istringstream lines(saved.at("w.wld"));
    int mapLines = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.find(" lightmap ") == std::string::npos) continue;
        ++mapLines;
        EXPECT_NE(line.find((copy / "bitmaps").string() + "/"), std::string::npos) << line;
        EXPECT_EQ(line.find(original.string()), std::string::npos) << line;
    }
    EXPECT_EQ(mapLines, 2);
    ASSERT_EQ(save(), 0) << OMBREL_ext_get_last_error();
    EXPECT_EQ(snapshot(copy), saved);
    EXPECT_EQ(snapshot(original), originalAfter);
}

TEST_F(LightMapFilesTest, ACopiedGroupsMapHasAFileOfItsOwnInTheRunFolder) {
    int32_t group = 0;
    const int32_t floor = litFloor(0, &group);
    ASSERT_NE(floor, 0);
    ASSERT_NE(OMBREL_group_duplicate_tree(group), 0) << OMBREL_ext_get_last_error();
    const std::vector<std::string> names = lightMapNames();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_NE(names[0], names[1]);
    for (int32_t map : lightMaps()) mapFile(map);
    for (const std::string& n : names) {
        EXPECT_TRUE(fs::is_regular_file(n + ".bmp")) << n;
        EXPECT_EQ(fs::path(n).parent_path(), fs::path(names[0]).parent_path()) << "both in the run folder";
    }
}

// The bytes of every file directly in dir, sorted: maps compared without their names.
std::vector<std::string> contents(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out.push_back(bytesOf(e.path()));
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> contents(const std::vector<int32_t>& maps) {
    std::vector<std::string> out;
    for (int32_t m : maps) out.push_back(bytesOf(entityName(m) + ".bmp"));
    std::sort(out.begin(), out.end());
    return out;
}

bool anyRunFile(const std::vector<int32_t>& maps) {
    for (int32_t m : maps)
        if (fs::exists(entityName(m) + ".bmp")) return true;
    return false;
}

// A number-2 map, a number-1 map baked into a fill and a copied group's map, in
// two groups under root.
std::vector<int32_t> threeKindsOfMap(int32_t* rootOut, int32_t* groupOut) {
    int32_t group = 0;
    litFloor(0, &group);
    *rootOut = OMBREL_group_create("root");
    OMBREL_group_set_father_group(group, *rootOut);
    const int32_t square = makeSquareFacingUp(group, 10, 0, 0, 4);
    EXPECT_NE(OMBREL_polygon_create_lightmap(square, 64, 1, 1, 0, 1), 0) << OMBREL_ext_get_last_error();
    EXPECT_NE(OMBREL_group_duplicate_tree(group), 0) << OMBREL_ext_get_last_error();
    *groupOut = group;
    return lightMaps();
}

// Enough new maps for the save to write them on several threads: every map gets
// a file of its own, the world names each, and nothing else is left in the folder.
TEST_F(LightMapFilesTest, ManyNewMapsAreWrittenWholeAndOnlyThem) {
    constexpr int kMaps = 600;
    FileFolder folder;
    const int32_t root = OMBREL_group_create("root");
    plainLight("lamp", {0, 0, 50}, 0.2, 0.7);
    writeBmp(folder.file("bitmaps/LIGHTMAP_7.bmp"), 2, 2, {1, 2, 3});  // someone else's
    const std::string theirs = bytesOf(folder.file("bitmaps/LIGHTMAP_7.bmp"));
    for (int i = 0; i < kMaps; ++i)
        ASSERT_NE(OMBREL_polygon_create_lightmap(makeSquareFacingUp(root, i % 30, i / 30, 0, 0.8), 4, 1, 1, 0, 2), 0);
    const std::string world = folder.file("many.wld");
    ASSERT_EQ(OMBREL_engine_save(world.c_str(), root, kEditorSave), 0) << OMBREL_ext_get_last_error();
    const std::vector<int32_t> maps = lightMaps();
    ASSERT_EQ(maps.size(), std::size_t(kMaps));
    // Each map's file, as the caller may ask for it, holds what the save wrote.
    for (int32_t m : maps) ASSERT_EQ(OMBREL_ext_bitmap_ensure_file(m), 1) << OMBREL_ext_get_last_error();
    const std::vector<std::string> made = contents(maps);
    auto saved = contents(folder.path() / "bitmaps");
    const auto mine = std::find(saved.begin(), saved.end(), theirs);
    ASSERT_NE(mine, saved.end());
    saved.erase(mine);
    EXPECT_EQ(saved, made);
    EXPECT_EQ(bytesOf(folder.file("bitmaps/LIGHTMAP_7.bmp")), theirs);
    std::size_t entries = 0;
    for (const auto& e : fs::directory_iterator(folder.path() / "bitmaps")) {
        EXPECT_NE(e.path().filename().string()[0], '.') << e.path();
        ++entries;
    }
    EXPECT_EQ(entries, std::size_t(kMaps + 1));
    // The world reads every map back from its file.
    OMBREL_engine_close();
    std::string log;
    OMBREL_ext_set_log_callback(collectLog, &log);
    ASSERT_EQ(OMBREL_engine_load_world(world.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << OMBREL_ext_get_last_error();
    OMBREL_ext_set_log_callback(nullptr, nullptr);
    EXPECT_EQ(log.find("placeholder"), std::string::npos) << log;
    EXPECT_EQ(lightMaps().size(), std::size_t(kMaps));
}

TEST_F(LightMapFilesTest, AMapsFileIsWrittenWhenAskedForAndHoldsTheMapAsItWasMade) {
    int32_t root = 0, group = 0;
    const std::vector<int32_t> maps = threeKindsOfMap(&root, &group);
    ASSERT_EQ(maps.size(), 3u);
    EXPECT_FALSE(anyRunFile(maps)) << "a computation writes no file";
    // The world moves on before anyone asks: the lamp and a later map change.
    const double elsewhere[3] = {40, 40, 2};
    OMBREL_light_set_location(OMBREL_light_get_first_light(), elsewhere);
    ASSERT_NE(OMBREL_polygon_create_lightmap(makeSquareFacingUp(group, 30, 0, 0, 4), 64, 1, 1, 0, 2), 0);
    // What a save writes from memory is the picture each map was made with.
    FileFolder folder;
    ASSERT_EQ(OMBREL_engine_save(folder.file("w.wld").c_str(), root, kEditorSave), 0) << OMBREL_ext_get_last_error();
    const std::vector<int32_t> all = lightMaps();
    EXPECT_FALSE(anyRunFile(all)) << "a save with the light-map flag writes beside the world only";
    for (int32_t m : maps) {
        SCOPED_TRACE(entityName(m));
        EXPECT_EQ(OMBREL_ext_bitmap_ensure_file(m), 1) << OMBREL_ext_get_last_error();
        EXPECT_TRUE(fs::is_regular_file(entityName(m) + ".bmp"));
        EXPECT_EQ(OMBREL_ext_bitmap_ensure_file(m), 0) << "written once";
    }
    ASSERT_EQ(OMBREL_ext_bitmap_ensure_file(all.back()), 1);
    EXPECT_EQ(contents(all), contents(folder.path() / "bitmaps"));
}

TEST_F(LightMapFilesTest, ASaveReferencingRunFilesWritesThemWhole) {
    int32_t root = 0, group = 0;
    const std::vector<int32_t> maps = threeKindsOfMap(&root, &group);
    ASSERT_EQ(maps.size(), 3u);
    ASSERT_FALSE(anyRunFile(maps));
    FileFolder folder;
    const std::string world = folder.file("by reference.wld");
    ASSERT_EQ(OMBREL_engine_save(world.c_str(), root, OMBREL_SAVE_GEOMETRY | OMBREL_SAVE_FILLS), 0)
        << OMBREL_ext_get_last_error();
    const std::string text = bytesOf(world);
    for (int32_t m : maps) EXPECT_NE(text.find(entityName(m) + ".bmp"), std::string::npos) << entityName(m);
    ASSERT_EQ(OMBREL_engine_save(folder.file("beside.wld").c_str(), root, kEditorSave), 0);
    EXPECT_EQ(contents(maps), contents(folder.path() / "bitmaps"));
    // The saved world reads its maps back from those files.
    std::string log;
    OMBREL_ext_set_log_callback(collectLog, &log);
    const double away[3] = {0, 100, 0};
    EXPECT_NE(OMBREL_engine_add_world(world.c_str(), "", "", away), 0) << OMBREL_ext_get_last_error();
    OMBREL_ext_set_log_callback(nullptr, nullptr);
    EXPECT_EQ(log.find("placeholder"), std::string::npos) << log;
}

// A folder of this test's own, the same in the parent and in the death test's
// child (which re-runs the test and inherits the variable).
std::string ownFolder(const char* variable) {
    if (const char* set = std::getenv(variable)) return set;
    const fs::path dir = fs::temp_directory_path() / (std::string("ombrel3_") + variable + "_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    setenv(variable, dir.string().c_str(), 1);
    return dir.string();
}

// Each of these runs in a process of its own, so the run folder is made there
// under the TMPDIR the test chose, and goes when that process ends.
TEST(LightMapRunFolder, AFailedWriteKeepsTheMapInMemoryAndSaysWhy) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const fs::path dir = ownFolder("LM_FAILED_WRITE_DIR");
    const fs::path blocker = dir / "a file";
    std::ofstream(blocker) << "not a folder";
    EXPECT_EXIT(
        {
            setenv("TMPDIR", (blocker / "tmp").c_str(), 1);
            OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
            const int32_t group = OMBREL_group_create("g");
            const int32_t floor = makeSquareFacingUp(group, 0, 0, 0, 8);
            plainLight("lamp", {0, 0, 5}, 0.2, 0.7);
            const int32_t map = OMBREL_polygon_create_lightmap(floor, 64, 1, 1, 0, 2);
            const bool refused = map != 0 && OMBREL_ext_bitmap_ensure_file(map) == -1 &&
                                 *OMBREL_ext_get_last_error() != '\0';
            const bool kept = refused && OMBREL_bitmap_get_width(map) == 8 && !fs::exists(entityName(map) + ".bmp");
            OMBREL_engine_close();
            std::exit(kept ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "kept in memory only");
    EXPECT_EQ(snapshot(dir).size(), 1u) << "nothing made, nothing removed";
    fs::remove_all(dir);
}

TEST(LightMapRunFolder, TheRunFolderGoesWhenTheProgramEndsAndNothingElse) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const fs::path dir = ownFolder("LM_RUN_FOLDER_DIR");
    std::ofstream(dir / "keep.txt") << "someone else's";
    EXPECT_EXIT(
        {
            setenv("TMPDIR", dir.c_str(), 1);
            OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
            const int32_t group = OMBREL_group_create("g");
            const int32_t floor = makeSquareFacingUp(group, 0, 0, 0, 8);
            plainLight("lamp", {0, 0, 5}, 0.2, 0.7);
            const int32_t map = OMBREL_polygon_create_lightmap(floor, 64, 1, 1, 0, 2);
            const bool written = map != 0 && fs::path(mapFile(map)).parent_path().parent_path() == dir &&
                                 fs::is_regular_file(mapFile(map));
            std::exit(written ? 0 : 1);  // the world left open: the end of the program cleans up
        },
        ::testing::ExitedWithCode(0), "");
    const auto left = snapshot(dir);
    EXPECT_EQ(left.size(), 1u);
    EXPECT_EQ(left.count("keep.txt"), 1u);
    std::error_code ec;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir, ec), fs::directory_iterator()), 1) << "the run folder is gone";
    fs::remove_all(dir);
}

// A process number no process has: a child's that ended and was reaped.
pid_t endedProcess() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

// The engine starts with the program that loads it: the death test's child, under
// the TMPDIR the parent chose, cleans up there before any test code runs.
TEST(LightMapRunFolder, AtStartTheFoldersOfRunsThatNoLongerExistGo) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const bool parent = std::getenv("LM_STALE_DIR") == nullptr;
    const fs::path dir = ownFolder("LM_STALE_DIR");
    enum Kind { Folder, File, Link };
    struct Case {
        std::string name;
        Kind kind;
        bool kept;
    };
    const std::string ended = std::to_string(endedProcess()), live = std::to_string(getpid());
    const fs::path elsewhere = dir.parent_path() / ("ombrel3_stale_target_" + live);
    const Case cases[] = {
        {"ombrel-" + ended + "-a1B2c3", Folder, false},
        {"ombrel-" + live + "-a1B2c3", Folder, true},  // its process runs
        {"ombrel-" + ended + "-a1B2c", Folder, true},  // not the pattern
        {"ombrel-" + ended + "-a1B2c3d", Folder, true},
        {"ombrel-" + ended + "-a1B.c3", Folder, true},
        {"ombrel-" + ended + "-d4E5f6", File, true},  // not a folder
        {"ombrel-" + ended + "-g7H8i9", Link, true},
    };
    if (parent) {
        fs::create_directories(elsewhere / "inside");
        for (const Case& c : cases) {
            const fs::path at = dir / c.name;
            if (c.kind == Folder) {
                fs::create_directories(at / "maps");
                std::ofstream(at / "LIGHTMAP_1.bmp") << "map";
            } else if (c.kind == File) {
                std::ofstream(at) << "a file";
            } else {
                fs::create_directory_symlink(elsewhere, at);
            }
        }
    }
    const char* tmp = std::getenv("TMPDIR");
    const std::string before = tmp ? tmp : "";
    setenv("TMPDIR", dir.c_str(), 1);
    EXPECT_EXIT(std::exit(0), ::testing::ExitedWithCode(0), "");
    if (tmp) setenv("TMPDIR", before.c_str(), 1);
    else unsetenv("TMPDIR");
    for (const Case& c : cases)
        EXPECT_EQ(fs::exists(fs::symlink_status(dir / c.name)), c.kept) << c.name;
    EXPECT_TRUE(fs::exists(elsewhere / "inside")) << "a link's target is never touched";
    fs::remove_all(dir);
    fs::remove_all(elsewhere);
}

}  // namespace
