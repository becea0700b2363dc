#include "platform/doubles/scripted_prompts.h"
#include "platform/doubles/test_application.h"
#include "platform/error_trap.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QWidget>

using namespace platform;
using platform::doubles::ScriptedPrompts;

namespace {

class ErrorTrapTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::doubles::testApplication();
        LastErrDescription.clear();
    }
    void TearDown() override { setErrorWindow({}); }
};

TEST_F(ErrorTrapTest, AFailureIsRecordedReportedAndLeavesTheHandlerWhereItStood) {
    const struct {
        const char* name;
        std::function<void()> fail;
        const char* description;
    } cases[] = {
        {"an editor error", [] { throw EditorError("Key not found: Group17"); }, "Key not found: Group17"},
        {"a library error", [] { throw std::out_of_range("vector index"); }, "vector index"},
        {"anything else", [] { throw 42; }, "Unknown error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPrompts script;
        script.answer(MsgResult::OK);
        int steps = 0;
        const bool completed = runTrapped(nullptr, [&] {
            ++steps;
            c.fail();
            ++steps;
        });
        EXPECT_FALSE(completed);
        EXPECT_EQ(steps, 1);
        EXPECT_EQ(LastErrDescription, c.description);
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_EQ(script.shown()[0].title, "Error");
        EXPECT_EQ(script.shown()[0].icon, MsgIcon::Critical);
        EXPECT_EQ(script.shown()[0].text, std::string("An unexpected error has occured.\n\n") + c.description);
    }
}

TEST_F(ErrorTrapTest, ABodyThatSucceedsShowsNothing) {
    ScriptedPrompts script;
    LastErrDescription = "earlier";
    EXPECT_TRUE(runTrapped(nullptr, [] {}));
    EXPECT_EQ(LastErrDescription, "earlier");
    EXPECT_TRUE(script.shown().empty());
}

TEST_F(ErrorTrapTest, TheErrorWindowIsReplaceableAndGetsTheOwner) {
    ScriptedPrompts script;
    QWidget owner;
    QWidget* shownOver = nullptr;
    std::string seen;
    setErrorWindow([&](QWidget* o) {
        shownOver = o;
        seen = LastErrDescription;
    });
    runTrapped(&owner, [] { throw EditorError("boom"); });
    EXPECT_EQ(shownOver, &owner);
    EXPECT_EQ(seen, "boom");
    EXPECT_TRUE(script.shown().empty());
}

TEST_F(ErrorTrapTest, AFailingErrorWindowDoesNotEscapeEither) {
    ScriptedPrompts script;
    setErrorWindow([](QWidget*) { throw EditorError("the window broke"); });
    EXPECT_FALSE(runTrapped(nullptr, [] { throw EditorError("first"); }));
    EXPECT_EQ(LastErrDescription, "first");
}

TEST_F(ErrorTrapTest, ATrappedSlotKeepsTheExceptionOutOfQtsDispatch) {
    ScriptedPrompts script;
    script.answer(MsgResult::OK);
    QWidget window;
    auto* cmdOk = new QPushButton(&window);
    QObject::connect(cmdOk, &QPushButton::clicked, &window,
                     trapped(&window, [] { throw EditorError("in a click"); }));
    cmdOk->click();
    EXPECT_EQ(LastErrDescription, "in a click");
    EXPECT_EQ(script.shown().size(), 1u);
}

}  // namespace
