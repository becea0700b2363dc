// Hold and fetch, and handing the world to the viewer program.
#include "EditorFixture.h"

#include "core/Globals.h"
#include "ombrel.h"
#include "platform/program.h"

#include <QAction>

#include <filesystem>
#include <fstream>

using platform::MsgResult;
using platform::doubles::ShellCall;

using HoldFetchTest = EditorFixture;

TEST_F(HoldFetchTest, FetchBringsBackTheWorldAsItWasHeld) {
    Form1& f = StartEditor();
    const int32_t box = OpenSmallWorld();
    f.mnuHold->trigger();
    const std::string hold = programFolder() + "Hold.wld";
    ASSERT_TRUE(std::filesystem::exists(hold));

    OMBREL_group_set_name(box, "edited");
    platform_.prompts.answer(MsgResult::OK);
    f.mnuFetch->trigger();
    EXPECT_EQ(platform_.prompts.shown().back().text, "Fetch - Please confirm.");
    EXPECT_NE(OMBREL_group_get_using_name("box"), 0);
    EXPECT_EQ(OMBREL_group_get_using_name("edited"), 0);
    EXPECT_EQ(f.windowTitle().toStdString(), "TALVORA [" + hold + "]");

    // Cancel keeps the world as it is.
    OMBREL_group_set_name(OMBREL_group_get_using_name("box"), "kept");
    platform_.prompts.answer(MsgResult::Cancel);
    f.mnuFetch->trigger();
    EXPECT_NE(OMBREL_group_get_using_name("kept"), 0);
}

TEST_F(HoldFetchTest, NothingIsHeldOrFetchedWithoutAWorldOrAHold) {
    Form1& f = StartEditor();
    f.mnuHold_Click();
    EXPECT_FALSE(std::filesystem::exists(programFolder() + "Hold.wld"));
    platform_.prompts.answer(MsgResult::OK);
    f.mnuFetch_Click();
    EXPECT_EQ(platform_.prompts.shown().back().text, "Nothing to fetch! Please do a hold first.");
    EXPECT_FALSE(f.WorldLoaded);
}

TEST_F(HoldFetchTest, AHoldThatCannotBeWrittenSaysSo) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    std::filesystem::create_directory(programFolder() + "Hold.wld");
    platform_.prompts.answer(MsgResult::OK);
    f.mnuHold_Click();
    EXPECT_EQ(platform_.prompts.shown().back().text,
              "Error Saving World\ncannot write " + programFolder() + "Hold.wld: it is a folder");
}

TEST_F(HoldFetchTest, AHoldFileThatIsALinkStaysOneAndItsFileHoldsTheWorld) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    const std::string kept = tempPath("kept/held.wld");
    std::filesystem::create_directories(tempPath("kept"));
    std::ofstream(kept) << "an older hold";
    std::filesystem::create_symlink(kept, programFolder() + "Hold.wld");

    f.mnuHold_Click();
    EXPECT_TRUE(std::filesystem::is_symlink(programFolder() + "Hold.wld"));
    std::ifstream in(kept);
    const std::string held((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(held.rfind("OMBREL-WORLD 1\n", 0), 0u) << held.substr(0, 40);
    EXPECT_NE(held.find("\"box\""), std::string::npos);
}

TEST_F(HoldFetchTest, ViewerModeStartsTheViewerOnASavedCopy) {
    Form1& f = StartEditor();
    // No world: nothing at all.
    f.mnuViewerMode_Click();
    EXPECT_TRUE(platform_.shell.calls().empty());

    OpenSmallWorld();
    const std::string folder = programFolder() + "Viewer Mode/";
    platform_.prompts.answer(MsgResult::OK);
    f.mnuViewerMode_Click();
    EXPECT_EQ(platform_.prompts.shown().back().text, "The viewer program was not found.");
    EXPECT_FALSE(std::filesystem::exists(folder + "Viewer.wld"));
    EXPECT_TRUE(platform_.shell.calls().empty());

    std::filesystem::create_directory(folder);
    std::ofstream(folder + "Orbview") << "#!/bin/sh\n";
    f.mnuViewerMode_Click();
    ASSERT_EQ(platform_.shell.calls().size(), 1u);
    const ShellCall& call = platform_.shell.calls()[0];
    EXPECT_EQ(call.kind, ShellCall::Program);
    EXPECT_EQ(call.target, folder + "Orbview");
    EXPECT_EQ(call.argument, folder + "Viewer.wld");
    ASSERT_EQ(OMBREL_engine_load_world(call.argument.c_str(), "", "", 4), 0);
    EXPECT_NE(OMBREL_group_get_using_name("box"), 0);
}
