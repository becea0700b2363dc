// The standard error trap and the error window: the report, the mail link and
// the closing question that can end the program.
#include "EditorFixture.h"
#include "platform/error_trap.h"

#include "core/Globals.h"
#include "mainwindow/BugReport.h"
#include "mainwindow/formError.h"
#include "ombrel.h"
#include "views/PicWindow.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using platform::MsgResult;

namespace {

const char* kTerminateQuestion =
    "It might be possible to resume normally, although it is not recomended. Do you wish to terminate the "
    "application?";

}  // namespace

using ErrorReportTest = EditorFixture;

TEST_F(ErrorReportTest, AnEngineFailureInAHandlerReachesTheErrorWindowOnceAndNoResumes) {
    StartEditor();
    OpenSmallWorld();
    // A view whose surface the engine no longer knows cannot be rendered.
    OMBREL_ext_surface_destroy(form().picWindow[1]->hWnd());
    int shown = 0;
    platform_.prompts
        .answerWindow<formError>([&](formError& w) {
            ++shown;
            EXPECT_EQ(w.windowTitle(), "Error");
            EXPECT_EQ(w.Label1->text(), "An unexpected error has occured.");
            EXPECT_EQ(w.cmdEmailReport->text(), "E-mail Bug report");
            EXPECT_EQ(w.cmdQuit->text(), "Quit wihout sending debug information.");
            w.cmdQuit->click();
        })
        .answer(MsgResult::No);
    form().mnuRedrawAllViews->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_NE(Globals::LastErrDescription.find("The view could not be rendered"), std::string::npos);
    const auto& closing = platform_.prompts.shown().back();
    EXPECT_EQ(closing.text, kTerminateQuestion);
    EXPECT_EQ(closing.title, "Error");
    EXPECT_EQ(closing.icon, platform::MsgIcon::Critical);
    EXPECT_FALSE(Globals::AppTerminating);
    EXPECT_FALSE(form().QuitFlag);
    EXPECT_TRUE(form().WorldLoaded);
}

TEST_F(ErrorReportTest, TerminateEndsTheProgramWithoutTheSaveQuestion) {
    StartEditor();
    OpenSmallWorld();
    platform_.prompts.answerWindow<formError>([](formError& w) { w.close(); }).answer(MsgResult::Yes);
    platform::runTrapped(&form(), [] { throw platform::EditorError("injected"); });
    EXPECT_EQ(Globals::LastErrDescription, "injected");
    EXPECT_TRUE(Globals::AppTerminating);
    EXPECT_TRUE(form().QuitFlag);
    EXPECT_FALSE(form().isVisible());
    for (const auto& p : platform_.prompts.shown()) EXPECT_NE(p.text, "Save changes?");
    // Paints draw nothing once the program is ending.
    Globals::OverlayDC = nullptr;
    picWindow_Paint(0);
    EXPECT_EQ(Globals::OverlayDC, nullptr);
}

TEST_F(ErrorReportTest, EmailReportAsksForEventsWhenNoneWereTyped) {
    StartEditor();
    struct Case {
        const char* name;
        MsgResult answer;
        bool sent;
    };
    const Case cases[] = {{"OK goes back to typing", MsgResult::OK, false},
                          {"Cancel sends without events", MsgResult::Cancel, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = platform_.shell.calls().size();
        bool stillOpen = false;
        platform_.prompts.answerWindow<formError>([&](formError& w) {
            w.cmdEmailReport->click();
            stillOpen = w.isVisible();
        });
        platform_.prompts.answer(c.answer).answer(MsgResult::No);
        platform::runTrapped(&form(), [] { throw platform::EditorError("boom"); });
        EXPECT_EQ(stillOpen, !c.sent);
        EXPECT_EQ(platform_.shell.calls().size(), before + (c.sent ? 1 : 0));
        EXPECT_EQ(platform_.prompts.pendingAnswers(), 0u);
    }
    const std::string link = platform_.shell.calls().back().target;
    EXPECT_EQ(link, "mailto:bugs@talvora.example?subject=TALVORA%20Bug%20report&body=Error%20Description%3A%20boom"
                    "%0D%0A%0D%0A%0D%0AEvents%20that%20lead%20to%20this%20error.%0D%0A%0D%0A");
}

TEST_F(ErrorReportTest, TypedEventsCannotCutTheBodyOrAddHeaderFields) {
    StartEditor();
    platform_.prompts
        .answerWindow<formError>([](formError& w) {
            w.Text1->setPlainText("clicked Save & then\nsaw ?cc=x@y.example&bcc=z #1 100%");
            w.cmdEmailReport->click();
        })
        .answer(MsgResult::No);
    platform::runTrapped(&form(), [] { throw platform::EditorError("a&b=c"); });
    ASSERT_EQ(platform_.shell.calls().size(), 1u);
    const std::string link = platform_.shell.calls()[0].target;
    const std::string prefix = "mailto:bugs@talvora.example?subject=TALVORA%20Bug%20report&body=";
    ASSERT_EQ(link.rfind(prefix, 0), 0u);
    const std::string body = link.substr(prefix.size());
    for (char c : std::string("&?=# \n\r")) EXPECT_EQ(body.find(c), std::string::npos) << c;
    EXPECT_NE(body.find("a%26b%3Dc"), std::string::npos);
    EXPECT_NE(body.find("Save%20%26%20then%0D%0Asaw%20%3Fcc%3Dx%40y.example%26bcc%3Dz%20%231%20100%25"),
              std::string::npos);
}

TEST(BugReportEncoding, EncodesEverythingButUnreservedCharacters) {
    struct Case {
        std::string text, encoded;
    };
    const Case cases[] = {
        {"plain-text_1.0~", "plain-text_1.0~"},
        {"a b", "a%20b"},
        {"line1\nline2", "line1%0D%0Aline2"},
        {"line1\r\nline2", "line1%0D%0Aline2"},
        {"lone\rreturn", "lone%0Dreturn"},
        {"%0d stays text", "%250d%20stays%20text"},
        {"\xC3\xA9", "%C3%A9"},
    };
    for (const Case& c : cases) EXPECT_EQ(BugReport::EncodeComponent(c.text), c.encoded) << c.text;
}
