// Closing the main window: the save question, Save As cancelled or failing, Exit,
// the main loop ending on the quit flag, and a signal ending the program.
#include "EditorFixture.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "mainwindow/frmLightMapParameterInput.h"
#include "ombrel.h"
#include "platform/end_signals.h"
#include "platform/wheel_queue.h"

#include <QAction>
#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

using platform::MsgResult;

using ShutdownTest = EditorFixture;

TEST_F(ShutdownTest, ClosingWithNoWorldAsksNothing) {
    Form1& f = StartEditor();
    EXPECT_TRUE(f.close());
    EXPECT_TRUE(f.QuitFlag);
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(platform_.prompts.shown().empty());
}

TEST_F(ShutdownTest, TheSaveQuestionsThreeAnswersOnASavedWorld) {
    struct Case {
        MsgResult answer;
        bool closes;
        bool saved;
    };
    const Case cases[] = {{MsgResult::Yes, true, true}, {MsgResult::No, true, false}, {MsgResult::Cancel, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        const std::string file = SaveSmallWorldFile("saved.wld");
        Form1& f = StartEditor(file);
        ASSERT_TRUE(f.WorldLoaded);
        std::filesystem::remove(file);  // a save writes it again
        const std::size_t before = platform_.prompts.shown().size();
        platform_.prompts.answer(c.answer);
        EXPECT_EQ(f.close(), c.closes);
        ASSERT_EQ(platform_.prompts.shown().size(), before + 1);
        const auto& question = platform_.prompts.shown().back();
        EXPECT_EQ(question.text, "Save changes?");
        EXPECT_EQ(question.buttons, platform::MsgButtons::YesNoCancel);
        EXPECT_EQ(question.icon, platform::MsgIcon::Question);
        EXPECT_EQ(f.QuitFlag, c.closes);
        EXPECT_EQ(f.WorldLoaded, !c.closes);
        EXPECT_EQ(std::filesystem::exists(file), c.saved);
        EXPECT_EQ(f.isVisible(), !c.closes);
        Globals::AppTerminating = true;  // let the fixture end it without asking
        f.close();
        Globals::AppTerminating = false;
    }
}

TEST_F(ShutdownTest, YesKeepsTheWindowOpenWhenSaveAsIsCancelledOrFails) {
    struct Case {
        const char* name;
        std::string path;  // "" = cancelled
        bool saveFails;
    };
    const std::string blocker = tempPath("a file");
    std::ofstream(blocker) << "x";
    const Case cases[] = {{"cancelled", "", false}, {"parent is a file", blocker + "/world.wld", true}};
    StartEditor();
    OpenSmallWorld();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform_.prompts.answer(MsgResult::Yes).answerSaveFile(c.path);
        if (c.saveFails) platform_.prompts.answer(MsgResult::OK);  // "Error Saving World"
        EXPECT_FALSE(form().close());
        EXPECT_FALSE(form().QuitFlag);
        EXPECT_TRUE(form().WorldLoaded);
        EXPECT_TRUE(form().isVisible());
        EXPECT_EQ(Globals::CurrWorldFile, "Untitled.wld");
    }
}

TEST_F(ShutdownTest, YesWithSaveAsToANewFileClosesAfterWritingIt) {
    StartEditor();
    OpenSmallWorld();
    const std::string path = tempPath("new world.wld");
    platform_.prompts.answer(MsgResult::Yes).answerSaveFile(path);
    EXPECT_TRUE(form().close());
    EXPECT_TRUE(form().QuitFlag);
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(ShutdownTest, SaveAsOverAnExistingFileAsksFirst) {
    StartEditor();
    OpenSmallWorld();
    const std::string first = tempPath("first.wld"), second = tempPath("second.wld");
    std::ofstream(first) << "keep";
    // No asks for another name, Yes then replaces.
    platform_.prompts.answerSaveFile(first).answer(MsgResult::No).answerSaveFile(first).answer(MsgResult::Yes);
    EXPECT_TRUE(form().mnuSaveAs_Click());
    EXPECT_EQ(Globals::CurrWorldFile, first);
    EXPECT_EQ(form().windowTitle().toStdString(), "TALVORA - " + first);
    // Cancel gives up.
    std::ofstream(second) << "keep";
    platform_.prompts.answerSaveFile(second).answer(MsgResult::Cancel);
    EXPECT_FALSE(form().mnuSaveAs_Click());
    EXPECT_EQ(Globals::CurrWorldFile, first);
}

TEST_F(ShutdownTest, ExitAsksOnceThenClosesTheWorldBeforeTheWindow) {
    StartEditor();
    OpenSmallWorld();
    platform_.prompts.answer(MsgResult::No);
    form().mnuExit->trigger();
    EXPECT_TRUE(form().QuitFlag);
    std::vector<std::string> messages;
    for (const auto& p : platform_.prompts.shown())
        if (p.kind == platform::doubles::PromptKind::Message) messages.push_back(p.text);
    EXPECT_EQ(messages, std::vector<std::string>{"Save changes?"});
}

TEST_F(ShutdownTest, TheMainLoopDrainsTheWheelQueueAndEndsOnTheQuitFlag) {
    Form1& f = StartEditor();
    // The wheel is only taken while a world is open and a view has the focus.
    OpenEmptyWorld();
    f.PicBoxHasFocus = true;
    for (int i = 0; i < 5; ++i) platform::pushWheelDelta(120);
    int pendingAtFirstDispatch = 0;
    QTimer::singleShot(0, &f, [&] {
        pendingAtFirstDispatch = platform::pendingWheelMessages();
        f.QuitFlag = true;
    });
    EXPECT_EQ(f.Form_Activate(), 0);
    EXPECT_EQ(pendingAtFirstDispatch, 0);  // the first pass took them before dispatching
    EXPECT_TRUE(f.QuitFlag);
}

// The folder of this test, the same in the parent and in its death tests' children
// (which run the test again and inherit the variable); made by the parent.
std::filesystem::path signalFolder(bool& parent) {
    parent = std::getenv("TALVORA_SIGNAL_TEST_DIR") == nullptr;
    if (!parent) return std::getenv("TALVORA_SIGNAL_TEST_DIR");
    const auto dir = std::filesystem::temp_directory_path() / ("talvora_signal_" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    setenv("TALVORA_SIGNAL_TEST_DIR", dir.c_str(), 1);
    return dir;
}

std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A child editor computing the light maps of a saved world gets the signal: it
// stops without asking, closes the world unsaved as File > Exit does after its
// question, and ends; its run folder, with the map files asked for, goes with it.
TEST_F(ShutdownTest, ASignalEndsTheEditorAsExitWithoutTheQuestionAndItsRunFolderGoes) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    bool parent = true;
    const std::filesystem::path dir = signalFolder(parent);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        const std::filesystem::path tmp = dir / std::to_string(signal), world = dir / (std::to_string(signal) + ".wld");
        if (parent) {
            std::filesystem::create_directories(tmp);
            std::filesystem::copy_file(SaveSmallWorldFile("small.wld"), world);
        }
        const std::string saved = bytesOf(world);
        auto child = [&] {
            setenv("TMPDIR", tmp.c_str(), 1);
            platform::handleEndSignals();
            Form1& f = StartEditor(world.string());
            const double at[3] = {0, 0, 50};
            OMBREL_light_create("lamp", at);
            frmLightMapParameterInput* dialog = nullptr;
            platform_.pump.when([&] { return dialog && dialog->Processed() == 1; },
                                [&] {
                                    std::raise(signal);
                                    QCoreApplication::processEvents();
                                });
            int processed = -1;
            platform_.prompts.answerWindow<frmLightMapParameterInput>([&](frmLightMapParameterInput& w) {
                dialog = &w;
                w.cmdCompute->click();
                processed = w.Processed();
                dialog = nullptr;
            });
            f.mnuLightMaps->trigger();
            // The map's file, asked for as the texture editor asks.
            bool written = false;
            for (int32_t b = OMBREL_bitmap_get_first_bitmap(); b; b = OMBREL_bitmap_get_next(b))
                if (Globals::GetEntityName(b).find("LIGHTMAP_") != std::string::npos)
                    written = std::filesystem::is_regular_file(Globals::FindBitmapFilePath(b));
            f.Form_Activate();
            bool asked = false;
            for (const auto& p : platform_.prompts.shown()) asked = asked || p.kind == platform::doubles::PromptKind::Message;
            const bool ok = processed == 1 && written && f.QuitFlag && !f.WorldLoaded && !asked;
            // What is left of the program's end (the test framework's) has nothing to clean.
            std::_Exit(ok ? 0 : 1);
        };
        EXPECT_EXIT(child(), ::testing::ExitedWithCode(0), "");
        EXPECT_TRUE(std::filesystem::is_empty(tmp)) << "no run folder left";
        EXPECT_EQ(bytesOf(world), saved) << "nothing saved";
    }
    if (parent) std::filesystem::remove_all(dir);
}
