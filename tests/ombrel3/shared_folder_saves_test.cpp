// Saves that share a folder: new light maps whose names another save took go
// under the next free ones, two processes saving at once both succeed, a save
// killed on the way leaves nothing the next save of its world does not remove,
// files a user put there under names like the engine's own stay, and a worker
// thread that cannot start leaves its work to the others.
#include "lightmap_helpers.h"
#include "world_file_helpers.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int32_t kEditorSave = 0x1203;

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.insert(it->path().filename().string());
    return names;
}

void collectLog(int32_t, const char* text, void* user) { static_cast<std::string*>(user)->append(text).append("\n"); }

// A new world: `maps` lit squares, each with a light map of its own, under one
// root group, and `plain` squares without; returns the root.
int32_t worldOfMaps(int maps, int plain = 0) {
    EXPECT_EQ(OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR), 0);
    const int32_t root = OMBREL_group_create("root");
    plainLight("lamp", {0, 0, 50}, 0.2, 0.7);
    for (int i = 0; i < maps; ++i)
        EXPECT_NE(OMBREL_polygon_create_lightmap(makeSquareFacingUp(root, i % 40, i / 40, 0, 0.8), 4, 1, 1, 0, 2), 0)
            << lastError();
    for (int i = 0; i < plain; ++i) makeSquareFacingUp(root, i % 100, -1 - i / 100, 0, 0.8);
    return root;
}

// The map files the world at path names once reopened; every one must load
// (no placeholder) and be a file in the folder's bitmaps/.
std::set<std::string> reopenedMaps(const fs::path& world) {
    std::string log;
    OMBREL_ext_set_log_callback(collectLog, &log);
    EXPECT_EQ(OMBREL_engine_load_world(world.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << lastError();
    OMBREL_ext_set_log_callback(nullptr, nullptr);
    EXPECT_EQ(log.find("placeholder"), std::string::npos) << log;
    std::set<std::string> files;
    for (int32_t b = OMBREL_bitmap_get_first_bitmap(); b; b = OMBREL_bitmap_get_next(b)) {
        const fs::path file = entityName(b) + ".bmp";
        if (file.filename().string().rfind("LIGHTMAP_", 0) != 0) continue;
        EXPECT_EQ(file.parent_path(), world.parent_path() / "bitmaps");
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
        files.insert(file.filename().string());
    }
    return files;
}

// Children held at a start line until all are made, then let go at once.
class StartLine {
public:
    StartLine() { EXPECT_EQ(::pipe(fds_), 0); }
    ~StartLine() { go(); }
    StartLine(const StartLine&) = delete;
    StartLine& operator=(const StartLine&) = delete;
    // In the child: waits for go.
    void wait() {
        ::close(fds_[1]);
        char c = 0;
        (void)!::read(fds_[0], &c, 1);
    }
    void go() {
        if (fds_[1] >= 0) ::close(fds_[1]);
        if (fds_[0] >= 0) ::close(fds_[0]);
        fds_[0] = fds_[1] = -1;
    }

private:
    int fds_[2] = {-1, -1};
};

// A child process that saves the open world at path and tells how it went.
pid_t saveInChild(const fs::path& path, int32_t root, StartLine* line) {
    const pid_t child = ::fork();
    if (child != 0) return child;
    if (line) line->wait();
    const bool saved = OMBREL_engine_save(path.c_str(), root, kEditorSave) == 0;
    if (!saved) std::fprintf(stderr, "%s: %s\n", path.c_str(), lastError().c_str());
    ::_exit(saved ? 0 : 1);
}

bool endedWell(pid_t child) {
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

using SharedFolderSaves = EngineTest;

// Both processes find the same free names when they start; whichever comes
// second to a name takes the next one. Each world then names the files placed.
TEST_F(SharedFolderSaves, TwoProcessesSavingNewMapsIntoOneFolderBothSucceed) {
    constexpr int kMaps = 300;
    struct Case {
        const char* what;
        const char* first;
        const char* second;
    };
    for (const Case& c : {Case{"two worlds", "a.wld", "b.wld"}, Case{"one world from two editors", "w.wld", "w.wld"}}) {
        for (int round = 0; round < 3; ++round) {
            SCOPED_TRACE(std::string(c.what) + ", round " + std::to_string(round));
            FileFolder folder;
            const int32_t root = worldOfMaps(kMaps);
            std::optional<StartLine> line(std::in_place);
            const pid_t first = saveInChild(folder.path() / c.first, root, &*line);
            const pid_t second = saveInChild(folder.path() / c.second, root, &*line);
            ASSERT_GT(first, 0);
            ASSERT_GT(second, 0);
            line.reset();
            EXPECT_TRUE(endedWell(first));
            EXPECT_TRUE(endedWell(second));

            const std::set<std::string> firstMaps = reopenedMaps(folder.path() / c.first);
            EXPECT_EQ(firstMaps.size(), std::size_t(kMaps));
            for (const std::string& name : namesIn(folder.path() / "bitmaps")) EXPECT_NE(name[0], '.') << name;
            if (std::string(c.first) == c.second) continue;
            const std::set<std::string> secondMaps = reopenedMaps(folder.path() / c.second);
            EXPECT_EQ(secondMaps.size(), std::size_t(kMaps));
            std::set<std::string> both = firstMaps;
            both.insert(secondMaps.begin(), secondMaps.end());
            EXPECT_EQ(both.size(), std::size_t(2 * kMaps)) << "each world has maps of its own";
            EXPECT_EQ(namesIn(folder.path() / "bitmaps"), both);
        }
    }
}

// A name taken in another case is taken: a volume may not tell them apart.
TEST_F(SharedFolderSaves, ANewMapTakesNoNameAFileHasInAnotherCase) {
    FileFolder folder;
    writeBmp(folder.file("bitmaps/lightmap_1.bmp"), 2, 2, {1, 2, 3});
    writeBmp(folder.file("bitmaps/LightMap_2.BMP"), 2, 2, {1, 2, 3});
    const int32_t root = worldOfMaps(1);
    const fs::path world = folder.path() / "w.wld";
    ASSERT_EQ(OMBREL_engine_save(world.c_str(), root, kEditorSave), 0) << lastError();
    EXPECT_EQ(reopenedMaps(world), std::set<std::string>{"LIGHTMAP_3.bmp"});
}

bool anyMap(const fs::path& bitmaps) {
    for (const std::string& name : namesIn(bitmaps))
        if (name.rfind("LIGHTMAP_", 0) == 0) return true;
    return false;
}

// A staging folder of a batch holding a staged map.
std::optional<fs::path> stagingWithAMap(const fs::path& bitmaps) {
    for (const std::string& name : namesIn(bitmaps))
        if (name.rfind(".partial-", 0) == 0 && fs::is_directory(fs::symlink_status(bitmaps / name)) &&
            !namesIn(bitmaps / name).empty())
            return bitmaps / name;
    return std::nullopt;
}

// Stops the child at moments spread over its save until `when` holds, then kills
// it; false when the save ended first.
bool killWhen(pid_t child, int round, const std::function<bool()>& when) {
    for (int wait = 0; wait < 2000; ++wait) {
        std::this_thread::sleep_for(std::chrono::microseconds(100 + 20 * round));
        ::kill(child, SIGSTOP);
        int status = 0;
        if (::waitpid(child, &status, WUNTRACED) != child || !WIFSTOPPED(status)) return false;
        if (when()) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            return true;
        }
        ::kill(child, SIGCONT);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return false;
}

// A save of many new maps killed while staging them, or once some are placed but
// the world is not: the next save of that world, which writes no map, removes
// what the killed one left in the world's folder and in its bitmaps/, its placed
// maps included, but not a user's photo put in its staging folder.
TEST_F(SharedFolderSaves, AKilledSavesLeftoversGoWithTheNextSaveOfItsWorld) {
    constexpr int kMaps = 2000;
    struct Moment {
        const char* what;
        std::function<bool(const fs::path& folder)> reached;
    };
    const Moment moments[] = {
        {"maps staged",
         [](const fs::path& folder) { return stagingWithAMap(folder / "bitmaps") && !anyMap(folder / "bitmaps"); }},
        {"maps placed, world not",
         [](const fs::path& folder) { return anyMap(folder / "bitmaps") && !fs::exists(folder / "w.wld"); }},
    };
    for (const Moment& m : moments) {
        SCOPED_TRACE(m.what);
        FileFolder folder;
        const fs::path world = folder.path() / "w.wld", bitmaps = folder.path() / "bitmaps";
        const int32_t root = worldOfMaps(kMaps);
        bool killed = false;
        for (int round = 0; round < 20 && !killed; ++round) {
            const pid_t child = saveInChild(world, root, nullptr);
            ASSERT_GT(child, 0);
            killed = killWhen(child, round, [&] { return m.reached(folder.path()); });
            if (!killed) fs::remove_all(folder.path() / "w.wld"), fs::remove_all(bitmaps);
        }
        ASSERT_TRUE(killed) << "no save was caught there";
        EXPECT_FALSE(fs::exists(world));
        std::optional<fs::path> staging = stagingWithAMap(bitmaps);
        if (staging) writeText((*staging / "photo.jpg").string(), "a user's photo");

        // The next save of the world, without light maps.
        const int32_t plain = worldOfMaps(0, 3);
        ASSERT_EQ(OMBREL_engine_save(world.c_str(), plain, kEditorSave), 0) << lastError();
        EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"bitmaps", "w.wld"}));
        std::set<std::string> kept;
        if (staging) kept.insert(staging->filename().string());
        EXPECT_EQ(namesIn(bitmaps), kept);
        if (staging) {
            EXPECT_EQ(namesIn(*staging), std::set<std::string>{"photo.jpg"});
            EXPECT_EQ(readText((*staging / "photo.jpg").string()), "a user's photo");
        }
    }
}

// Files, folders and links a user made under names like the engine's temporaries,
// anchors and staging folders, in the world's folder and in its bitmaps/: no
// save made them, so none removes them, nor anything a link leads to.
TEST_F(SharedFolderSaves, FilesNamedLikeTemporariesThatNoSaveMadeStay) {
    FileFolder folder;
    const fs::path world = folder.path() / "w.wld";
    const fs::path elsewhere = folder.path() / "elsewhere";
    writeText((elsewhere / ".LIGHTMAP_1.bmp.partial-Yyyyyy").string(), "theirs");
    writeText((elsewhere / "notes.txt").string(), "theirs");
    std::map<fs::path, std::string> files;
    std::set<fs::path> links;
    for (const fs::path& dir : {folder.path(), folder.path() / "bitmaps"}) {
        files[dir / ".w.wld.partial-Zz9Zz9"] = "half a world, or so it seems";
        files[dir / ".partial-Qqqqqq"] = "named like an anchor";
        files[dir / ".partial-Zzzzzz.3/photo.jpg"] = "a user's photo";
        files[dir / ".partial-Zzzzzz.3/.LIGHTMAP_4.bmp.partial-Zzzzzz"] = "named like a staged map";
        files[dir / ".partial-Zzzzzz"] = "a user's list";
        fs::create_directories(dir);
        fs::create_directory_symlink(elsewhere, dir / ".partial-Yyyyyy.2");
        fs::create_symlink(elsewhere / "notes.txt", dir / ".partial-Xxxxxx");
        links.insert(dir / ".partial-Yyyyyy.2");
        links.insert(dir / ".partial-Xxxxxx");
    }
    for (const auto& [file, text] : files) writeText(file.string(), text);
    // A save that writes new maps and one that writes none.
    for (int maps : {3, 0}) {
        SCOPED_TRACE(std::to_string(maps) + " new maps");
        ASSERT_EQ(OMBREL_engine_save(world.c_str(), worldOfMaps(maps, 2), kEditorSave), 0) << lastError();
        for (const auto& [file, text] : files) EXPECT_EQ(readText(file.string()), text) << file;
        for (const fs::path& link : links) EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link))) << link;
        EXPECT_EQ(namesIn(elsewhere), (std::set<std::string>{".LIGHTMAP_1.bmp.partial-Yyyyyy", "notes.txt"}));
        EXPECT_EQ(readText((elsewhere / "notes.txt").string()), "theirs");
    }
    std::set<std::string> expected{"w.wld", "bitmaps", "elsewhere"};
    for (const auto& [file, text] : files)
        if (file.parent_path() == folder.path()) expected.insert(file.filename().string());
    expected.insert({".partial-Zzzzzz.3", ".partial-Yyyyyy.2", ".partial-Xxxxxx"});
    EXPECT_EQ(namesIn(folder.path()), expected);
}

// Sets OMBREL_WORKER_STARTS while it lives.
class WorkerStarts {
public:
    explicit WorkerStarts(const char* value) { setenv("OMBREL_WORKER_STARTS", value, 1); }
    ~WorkerStarts() { unsetenv("OMBREL_WORKER_STARTS"); }
    WorkerStarts(const WorkerStarts&) = delete;
    WorkerStarts& operator=(const WorkerStarts&) = delete;
};

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) text.replace(at, from.size(), to);
    return text;
}

// Enough polygons and maps for both pools of a save to want several threads;
// however few of them start, the save writes what it writes with all of them.
TEST_F(SharedFolderSaves, ASaveWhoseWorkerThreadsCannotStartStillWritesTheWorld) {
    constexpr int kMaps = 200;
    const int32_t root = worldOfMaps(kMaps, 9000);
    FileFolder reference;
    const fs::path referenceWorld = reference.path() / "w.wld";
    ASSERT_EQ(OMBREL_engine_save(referenceWorld.c_str(), root, kEditorSave), 0) << lastError();
    const std::string expected = readText(referenceWorld.string());
    for (const char* starts : {"0", "1"}) {
        SCOPED_TRACE(std::string("workers that start: ") + starts);
        FileFolder folder;
        const fs::path world = folder.path() / "w.wld";
        {
            WorkerStarts limit(starts);
            ASSERT_EQ(OMBREL_engine_save(world.c_str(), root, kEditorSave), 0) << lastError();
        }
        EXPECT_EQ(readText(world.string()), replaceAll(expected, reference.path().string(), folder.path().string()));
        EXPECT_EQ(namesIn(folder.path() / "bitmaps").size(), std::size_t(kMaps));
    }
}

}  // namespace
