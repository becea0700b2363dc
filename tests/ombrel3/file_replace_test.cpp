// A save replaces the world file so that it stays the file it was: through links,
// with its mode, owner and group, never through a file someone planted, whole
// after a failure or a kill, and without leftovers of a killed save, while what a
// save still running holds stays.
#include "lightmap_helpers.h"
#include "world_file_helpers.h"

#include <chrono>
#include <csignal>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

bool isLink(const fs::path& path) { return fs::is_symlink(fs::symlink_status(path)); }

struct stat statOf(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

// A new world of one group holding `squares` squares, saved at path.
void saveWorld(const fs::path& path, int squares = 1) {
    ASSERT_EQ(OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR), 0);
    const int32_t root = OMBREL_group_create("the_world");
    for (int i = 0; i < squares; ++i) makeSquareFacingUp(root, i % 100, i / 100, 0, 1);
    fs::create_directories(path.parent_path());
    ASSERT_EQ(OMBREL_engine_save(path.c_str(), root, OMBREL_SAVE_WORLD), 0) << lastError();
}

// Opens the world at path and marks it with a group "edited".
void openAndEdit(const fs::path& path) {
    ASSERT_EQ(OMBREL_engine_load_world(path.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << lastError();
    OMBREL_group_set_father_group(OMBREL_group_create("edited"), OMBREL_group_get_using_name("the_world"));
}

int32_t save(const fs::path& path) {
    return OMBREL_engine_save(path.c_str(), OMBREL_group_get_using_name("the_world"), OMBREL_SAVE_WORLD);
}

bool holdsEdit(const fs::path& path) {
    const std::string text = readText(path);
    return text.rfind("OMBREL-WORLD 1\n", 0) == 0 && text.find("\"edited\"") != std::string::npos;
}

constexpr uid_t kOtherOwner = 1234;
constexpr gid_t kOtherGroup = 4321;

using FileReplace = EngineTest;

// A small file system of its own, full soon; where no mount is allowed, the
// process may write no file larger than it instead.
class SmallDisk {
public:
    explicit SmallDisk(const fs::path& folder) : folder_(folder) {
        fs::create_directories(folder);
        mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
    }
    void fill() {
        if (mounted_) return;
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        struct rlimit small = saved_;
        small.rlim_cur = 64 << 10;
        previousHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        limited_ = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~SmallDisk() {
        if (limited_) {
            ::setrlimit(RLIMIT_FSIZE, &saved_);
            ::signal(SIGXFSZ, previousHandler_);
        }
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

private:
    fs::path folder_;
    bool mounted_ = false, limited_ = false;
    struct rlimit saved_ {};
    sighandler_t previousHandler_ = SIG_DFL;
};

// Each situation is opened, edited and saved through the engine, then checked on
// disk; a spoiled one cannot be saved and must leave the old file and the open world.
TEST_F(FileReplace, ASaveWritesTheFileThePathNamesOrLeavesItAsItWas) {
    FileFolder dir;
    std::unique_ptr<SmallDisk> disk;
    struct Situation {
        const char* label;
        // Lays out the files in root; returns the path the world is opened and saved through.
        std::function<fs::path(const fs::path& root)> make;
        // Makes the save impossible once the world is open; none for a save that works.
        std::function<void(const fs::path& root)> spoil;
        std::function<void(const fs::path& root)> check;
    };
    const Situation situations[] = {
        {"private file of another owner",
         [](const fs::path& root) {
             saveWorld(root / "a.wld");
             fs::permissions(root / "a.wld", fs::perms(0640));
             if (::geteuid() == 0) {
                 EXPECT_EQ(::chown((root / "a.wld").c_str(), kOtherOwner, kOtherGroup), 0);
             }
             return root / "a.wld";
         },
         nullptr,
         [](const fs::path& root) {
             const struct stat st = statOf(root / "a.wld");
             EXPECT_EQ(st.st_mode & 07777, 0640u);
             if (::geteuid() == 0) {
                 EXPECT_EQ(st.st_uid, kOtherOwner);
                 EXPECT_EQ(st.st_gid, kOtherGroup);
             }
             EXPECT_TRUE(holdsEdit(root / "a.wld"));
         }},
        {"relative link to a link to a world in another folder",
         [](const fs::path& root) {
             // Its bitmap is known by file name only, beside the world it belongs to.
             writeBmp((root / "other/bitmaps/brick.bmp").string(), 2, 2, {200, 40, 40});
             writeText((root / "other/real.wld").string(),
                       "OMBREL-WORLD 1\n"
                       "bitmap 1 \"brick\" \"\" \"brick.bmp\" -1\n"
                       "group 1 \"the_world\" father 0 static 1 disabled 0 pivot 0 0 0 origin 0 0 0 axes 1 0 0 0 1 0 0 0 1\n"
                       "polygon 1 \"\" group 1 enabled 1 fill bitmap 1 rgb 192 192 192 second 0 blend 0 dim 0 "
                       "rotated 0 lights 0\n"
                       "p 0 0 0 0 0 100\np 0 1 0 0 1 100\np 1 1 0 1 1 100\n"
                       "end\n");
             fs::create_symlink(root / "other/real.wld", root / "other/hop.wld");
             fs::create_directories(root / "here");
             fs::create_symlink("../other/hop.wld", root / "here/link.wld");
             return root / "here/link.wld";
         },
         nullptr,
         [](const fs::path& root) {
             EXPECT_EQ(fs::read_symlink(root / "here/link.wld"), "../other/hop.wld");
             EXPECT_EQ(fs::read_symlink(root / "other/hop.wld"), root / "other/real.wld");
             EXPECT_TRUE(holdsEdit(root / "other/real.wld"));
             const std::string brick = "\"" + (root / "other/bitmaps/brick.bmp").string() + "\"";
             EXPECT_NE(readText((root / "other/real.wld").string()).find(brick), std::string::npos);
             EXPECT_EQ(namesIn(root / "here"), std::set<std::string>{"link.wld"});
             EXPECT_EQ(namesIn(root / "other"), (std::set<std::string>{"bitmaps", "hop.wld", "real.wld"}));
         }},
        // Named like temporaries, but made by nobody's save: a sweep keeps them.
        {"links and a user's file planted at temporary names",
         [](const fs::path& root) {
             saveWorld(root / "w.wld");
             writeText((root / "victim.txt").string(), "victim");
             fs::create_symlink(root / "victim.txt", root / "w.wld.tmp");
             fs::create_symlink(root / "victim.txt", root / ".w.wld.partial-AAAAAA");
             writeText((root / ".w.wld.partial-Zz9Zz9").string(), "half a world");
             return root / "w.wld";
         },
         nullptr,
         [](const fs::path& root) {
             EXPECT_EQ(readText((root / "victim.txt").string()), "victim");
             EXPECT_TRUE(isLink(root / "w.wld.tmp"));
             EXPECT_TRUE(isLink(root / ".w.wld.partial-AAAAAA"));
             EXPECT_FALSE(isLink(root / "w.wld"));
             EXPECT_TRUE(holdsEdit(root / "w.wld"));
             EXPECT_EQ(readText((root / ".w.wld.partial-Zz9Zz9").string()), "half a world");
             EXPECT_EQ(namesIn(root), (std::set<std::string>{"w.wld", "w.wld.tmp", ".w.wld.partial-AAAAAA",
                                                             ".w.wld.partial-Zz9Zz9", "victim.txt"}));
         }},
        // The path saved to is replaced; another name of the old file keeps the old world.
        {"hard link",
         [](const fs::path& root) {
             saveWorld(root / "a.wld");
             fs::create_hard_link(root / "a.wld", root / "hard.wld");
             return root / "a.wld";
         },
         nullptr,
         [](const fs::path& root) {
             EXPECT_TRUE(holdsEdit(root / "a.wld"));
             EXPECT_FALSE(holdsEdit(root / "hard.wld"));
             EXPECT_EQ(statOf(root / "a.wld").st_nlink, 1u);
         }},
        {"the linked file's folder is now a file",
         [](const fs::path& root) {
             saveWorld(root / "other/real.wld");
             fs::create_directories(root / "here");
             fs::create_symlink("../other/real.wld", root / "here/link.wld");
             return root / "here/link.wld";
         },
         [](const fs::path& root) {
             fs::remove_all(root / "other");
             writeText((root / "other").string(), "a file");
         },
         [](const fs::path& root) {
             EXPECT_EQ(readText((root / "other").string()), "a file");
             EXPECT_EQ(fs::read_symlink(root / "here/link.wld"), "../other/real.wld");
             EXPECT_EQ(namesIn(root / "here"), std::set<std::string>{"link.wld"});
         }},
        // With new light maps, placed before the world fails: the failed save
        // removes them again.
        {"the disk is full",
         [&](const fs::path& root) {
             disk = std::make_unique<SmallDisk>(root / "disk");
             saveWorld(root / "disk/w.wld");
             writeText((root / "old.wld").string(), readText((root / "disk/w.wld").string()));
             return root / "disk/w.wld";
         },
         [&](const fs::path&) {
             const int32_t top = OMBREL_group_get_using_name("the_world");
             for (int i = 0; i < 2000; ++i) makeSquareFacingUp(top, i, 5, 0, 1);
             plainLight("lamp", {0, 0, 5}, 0.2, 0.7);
             for (int i = 0; i < 3; ++i) {
                 const int32_t floor = makeSquareFacingUp(top, 10 * i, 0, -1, 6);
                 EXPECT_NE(OMBREL_polygon_create_lightmap(floor, 16, 1, 1, 0, 2), 0) << lastError();
             }
             disk->fill();
         },
         [](const fs::path& root) {
             EXPECT_EQ(readText((root / "disk/w.wld").string()), readText((root / "old.wld").string()));
             std::set<std::string> left = namesIn(root / "disk");
             if (left.erase("bitmaps")) {
                 EXPECT_EQ(namesIn(root / "disk/bitmaps"), std::set<std::string>{});
             }
             EXPECT_EQ(left, std::set<std::string>{"w.wld"});
         }},
    };
    int n = 0;
    for (const Situation& s : situations) {
        SCOPED_TRACE(s.label);
        const fs::path root = dir.path() / std::to_string(++n);
        const fs::path path = s.make(root);
        openAndEdit(path);
        if (s.spoil) {
            s.spoil(root);
            EXPECT_EQ(save(path), -1);
            EXPECT_NE(lastError().find(path.string()), std::string::npos) << lastError();
        } else {
            ASSERT_EQ(save(path), 0) << lastError();
        }
        s.check(root);
        disk.reset();

        // The saved file loads; after a failure the world is still open, edit included.
        const fs::path saved = s.spoil ? root / "after.wld" : path;
        if (s.spoil) {
            ASSERT_EQ(save(saved), 0) << lastError();
        }
        ASSERT_EQ(OMBREL_engine_load_world(saved.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << lastError();
        EXPECT_NE(OMBREL_group_get_using_name("edited"), 0);
    }
}

TEST_F(FileReplace, ASaveKilledAtAnyMomentLeavesTheOldWorldOrTheNewOne) {
    FileFolder dir;
    const fs::path real = dir.path() / "other/real.wld", link = dir.path() / "here/link.wld";
    saveWorld(real, 20000);
    fs::permissions(real, fs::perms(0640));
    fs::create_directories(link.parent_path());
    fs::create_symlink(real, link);
    const std::string oldWorld = readText(real.string());
    openAndEdit(link);
    ASSERT_EQ(save(dir.path() / "new.wld"), 0) << lastError();
    const std::string newWorld = readText((dir.path() / "new.wld").string());

    // Kill points spread over a little more than one save.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(save(dir.path() / "new.wld"), 0) << lastError();
    const auto oneSave = std::chrono::steady_clock::now() - start;
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int64_t> pick(0, std::chrono::duration_cast<std::chrono::microseconds>(oneSave).count() * 3 / 2);

    for (int kill = 0; kill < 12; ++kill) {
        if (readText(real.string()) != oldWorld) std::ofstream(real, std::ios::binary) << oldWorld;
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            const char go = 'g';
            (void)!::write(ready[1], &go, 1);
            ::_exit(save(link) == 0 ? 0 : 1);
        }
        ::close(ready[1]);
        char go = 0;
        (void)!::read(ready[0], &go, 1);
        ::close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(pick(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        SCOPED_TRACE("kill " + std::to_string(kill));
        EXPECT_TRUE(isLink(link));
        const std::string text = readText(real.string());
        EXPECT_TRUE(text == oldWorld || text == newWorld) << text.size() << " bytes";
        EXPECT_EQ(statOf(real).st_mode & 07777, 0640u);
    }

    // The next save leaves nothing of the killed ones behind, and the world loads.
    ASSERT_EQ(save(link), 0) << lastError();
    EXPECT_EQ(namesIn(real.parent_path()), std::set<std::string>{"real.wld"});
    EXPECT_EQ(namesIn(link.parent_path()), std::set<std::string>{"link.wld"});
    ASSERT_EQ(OMBREL_engine_load_world(link.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << lastError();
    EXPECT_NE(OMBREL_group_get_using_name("edited"), 0);
}

// The temporaries of the pattern a save of the file at path writes beside it.
std::set<std::string> temporariesOf(const fs::path& path) {
    std::set<std::string> out;
    const std::string prefix = "." + path.filename().string() + ".partial-";
    for (const std::string& name : namesIn(path.parent_path()))
        if (name.rfind(prefix, 0) == 0) out.insert(name);
    return out;
}

// Stops the child's save at moments spread over it until its temporaries are on
// disk; false when it ended first.
bool stopWhileWriting(pid_t child, const fs::path& world, int round) {
    for (int wait = 0; wait < 400; ++wait) {
        std::this_thread::sleep_for(std::chrono::microseconds(250 + 50 * round));
        ::kill(child, SIGSTOP);
        int status = 0;
        if (::waitpid(child, &status, WUNTRACED) != child || !WIFSTOPPED(status)) return false;
        if (!temporariesOf(world).empty()) return true;
        ::kill(child, SIGCONT);
    }
    return false;
}

// A save stopped while writing holds its files; killed, they are leftovers the
// next save removes.
TEST_F(FileReplace, ASaveRemovesLeftoversButNothingALiveSaveHolds) {
    FileFolder dir;
    const fs::path world = dir.path() / "w.wld";
    saveWorld(world, 20000);
    openAndEdit(world);
    bool caught = false;
    for (int round = 0; round < 40 && !caught; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) ::_exit(save(world) == 0 ? 0 : 1);
        caught = stopWhileWriting(child, world, round);
        if (caught) {
            const std::set<std::string> held = namesIn(dir.path());
            ASSERT_EQ(save(world), 0) << lastError();
            EXPECT_EQ(namesIn(dir.path()), held) << "the stopped save's files stay";
            ::kill(child, SIGKILL);
        }
        ::waitpid(child, nullptr, 0);
    }
    ASSERT_TRUE(caught) << "no save was stopped while writing";
    EXPECT_GT(namesIn(dir.path()).size(), 1u) << "the killed save left its files";
    ASSERT_EQ(save(world), 0) << lastError();
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"w.wld"});
    EXPECT_TRUE(holdsEdit(world));
}

// Two saves of one world at once: the other process's save is stopped while its
// temporaries are on disk, this one saves over it, and the other then ends well.
TEST_F(FileReplace, TwoSavesAtOnceBothSucceed) {
    FileFolder dir;
    const fs::path world = dir.path() / "w.wld";
    saveWorld(world, 20000);
    openAndEdit(world);
    int caught = 0;
    for (int round = 0; round < 40 && caught < 3; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) ::_exit(save(world) == 0 ? 0 : 1);
        if (stopWhileWriting(child, world, round)) {
            ++caught;
            const std::set<std::string> before = temporariesOf(world);
            EXPECT_EQ(save(world), 0) << lastError();
            EXPECT_EQ(temporariesOf(world), before) << "the stopped save's files stay";
            ::kill(child, SIGCONT);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        EXPECT_TRUE(holdsEdit(world));
    }
    EXPECT_GT(caught, 0) << "no save was stopped while writing";
    EXPECT_TRUE(temporariesOf(world).empty());
}

}  // namespace
