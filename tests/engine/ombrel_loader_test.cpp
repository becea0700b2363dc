#include "ombrel.h"
#include "ombrel_loader.h"
#include "fake_engine_probe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace fs = std::filesystem;
using ombrel_loader::Status;

namespace {

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("loader-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        ombrel_loader::unload();
        fs::remove_all(dir_);
    }

    fs::path dir_;
};

TEST_F(LoaderTest, EachKindOfLibraryFileGetsItsStatus) {
    const fs::path textFile = dir_ / "text" / "libombrel3.so";
    fs::create_directories(textFile.parent_path());
    std::ofstream(textFile) << "not a library\n";
    const fs::path folder = dir_ / "folder" / "libombrel3.so";
    fs::create_directories(folder);

    struct Case {
        const char* name;
        std::string path;
        Status status;
        std::vector<std::string> missing;
    };
    const Case cases[] = {
        {"no file", (dir_ / "none" / "libombrel3.so").string(), Status::LibraryMissing, {}},
        {"a folder of that name", folder.string(), Status::LibraryMissing, {}},
        {"a text file", textFile.string(), Status::NotALibrary, {}},
        {"a library without the first call", FAKE_ENGINE_INCOMPLETE, Status::EntryPointsMissing,
         {"OMBREL_engine_set_coordinates_auto_correct_mode"}},
        {"the full interface", FAKE_ENGINE_COMPLETE, Status::Loaded, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = ombrel_loader::load(c.path);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.path, c.path);
        EXPECT_EQ(r.missing, c.missing);
        const bool loaded = c.status == Status::Loaded;
        EXPECT_EQ(ombrel_loader::isLoaded(), loaded);
        EXPECT_EQ(OMBREL_engine_set_coordinates_auto_correct_mode != nullptr, loaded);
        EXPECT_EQ(OMBREL_ext_surface_attach != nullptr, loaded);
        if (c.status == Status::LibraryMissing || c.status == Status::NotALibrary) {
            EXPECT_FALSE(r.reason.empty());
        }
    }
}

TEST_F(LoaderTest, BoundCallsReachTheLibraryUntilUnloaded) {
    ASSERT_EQ(ombrel_loader::load(FAKE_ENGINE_COMPLETE).status, Status::Loaded);

    EXPECT_EQ(OMBREL_engine_set_coordinates_auto_correct_mode(0), 0);
    EXPECT_EQ(fakeEngineLastCall(FAKE_ENGINE_COMPLETE), "OMBREL_engine_set_coordinates_auto_correct_mode");
    double location[3] = {1, 2, 3};
    EXPECT_EQ(OMBREL_group_get_location(7, &location[0], &location[1], &location[2]), 0);
    EXPECT_EQ(fakeEngineLastCall(FAKE_ENGINE_COMPLETE), "OMBREL_group_get_location");
    OMBREL_ext_clear_last_error();
    EXPECT_EQ(fakeEngineLastCall(FAKE_ENGINE_COMPLETE), "OMBREL_ext_clear_last_error");

    ombrel_loader::unload();
    EXPECT_FALSE(ombrel_loader::isLoaded());
    EXPECT_EQ(OMBREL_engine_set_coordinates_auto_correct_mode, nullptr);
    EXPECT_EQ(OMBREL_group_get_location, nullptr);
}

TEST_F(LoaderTest, AFailedLoadLeavesNothingOfTheEarlierLibraryBound) {
    ASSERT_EQ(ombrel_loader::load(FAKE_ENGINE_COMPLETE).status, Status::Loaded);
    EXPECT_EQ(ombrel_loader::load(FAKE_ENGINE_INCOMPLETE).status, Status::EntryPointsMissing);
    EXPECT_FALSE(ombrel_loader::isLoaded());
    EXPECT_EQ(OMBREL_engine_close, nullptr);
    // The incomplete library binds nothing even of what it does have.
    EXPECT_EQ(OMBREL_engine_hide_log_window, nullptr);
}

}  // namespace
