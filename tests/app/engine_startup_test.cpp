#include "engine_startup.h"
#include "ombrel_loader.h"
#include "fake_engine_probe.h"
#include "program_folder.h"

#include "platform/doubles/scripted_prompts.h"

#include <gtest/gtest.h>

using platform::MsgIcon;
using platform::MsgResult;
using platform::doubles::ScriptedPrompts;

namespace {

class EngineStartupTest : public ::testing::Test {
protected:
    void TearDown() override { ombrel_loader::unload(); }
};

TEST_F(EngineStartupTest, AnEngineThatCannotStartIsReportedAndRefused) {
    using Engine = ProgramFolder::Engine;
    const struct {
        const char* name;
        Engine engine;
        std::vector<std::string> inMessage;
    } cases[] = {
        {"no library", Engine::None, {"libombrel3.so", "does not exist", "Terminating..."}},
        {"a text file as library", Engine::TextFile, {"libombrel3.so", "could not be opened"}},
        {"an engine without the first call", Engine::Incomplete,
         {"Incorrect ombrel3.dll version encountered. Terminating..."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolder folder(c.engine);
        ScriptedPrompts script;
        script.answer(MsgResult::OK);
        EXPECT_FALSE(app::startEngine(folder.path()));
        EXPECT_FALSE(ombrel_loader::isLoaded());
        ASSERT_EQ(script.shown().size(), 1u);
        const auto& box = script.shown()[0];
        EXPECT_EQ(box.title, "TALVORA");
        EXPECT_EQ(box.icon, MsgIcon::Critical);
        for (const std::string& part : c.inMessage) EXPECT_NE(box.text.find(part), std::string::npos) << box.text;
        if (c.engine != Engine::Incomplete) {
            EXPECT_NE(box.text.find(folder.enginePath()), std::string::npos) << box.text;
        }
    }
}

TEST_F(EngineStartupTest, AWholeEngineIsBoundAndGetsTheFirstCall) {
    ProgramFolder folder(ProgramFolder::Engine::Complete);
    ScriptedPrompts script;
    EXPECT_TRUE(app::startEngine(folder.path()));
    EXPECT_TRUE(ombrel_loader::isLoaded());
    EXPECT_EQ(fakeEngineLastCall(folder.enginePath()), "OMBREL_engine_set_coordinates_auto_correct_mode");
    EXPECT_TRUE(script.shown().empty());
}

}  // namespace
