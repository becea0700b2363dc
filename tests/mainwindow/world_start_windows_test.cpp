// The small windows around the worlds: the tip of the day, the splash, the
// template chooser of a new world and the about window's links.
#include "EditorFixture.h"

#include "core/Globals.h"
#include "mainwindow/formAbout.h"
#include "mainwindow/formSplash.h"
#include "core/Camera.h"
#include "mainwindow/formTemplate.h"
#include "mainwindow/formTip.h"
#include "ombrel.h"
#include "platform/settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <array>
#include <filesystem>
#include <fstream>

using platform::doubles::ShellCall;

namespace {

std::vector<std::string> listed(const formTemplate& w) {
    std::vector<std::string> names;
    for (int i = 0; i < w.List1->count(); ++i) names.push_back(w.List1->item(i)->text().toStdString());
    return names;
}

}  // namespace

class StartWindowsTest : public EditorFixture {
protected:
    StartWindowsTest() { formTip::ForgetTips(); }
    ~StartWindowsTest() override { formTip::ForgetTips(); }
    void writeTips(const std::string& text) { std::ofstream(programFolder() + "TIPOFDAY.TXT") << text; }
};

TEST_F(StartWindowsTest, TipsCycleAndGoOnWhereTheLastWindowStopped) {
    writeTips("one\ntwo\r\nthree\n");
    Form1& f = StartEditor();
    std::vector<std::string> seen;
    platform_.prompts.answerWindow<formTip>([&](formTip& w) {
        seen.push_back(w.lblTipText->text().toStdString());
        for (int i = 0; i < 3; ++i) {
            w.cmdNextTip->click();
            seen.push_back(w.lblTipText->text().toStdString());
        }
        w.cmdOk->click();
    });
    f.mnuTip->trigger();
    EXPECT_EQ(seen, (std::vector<std::string>{"one", "two", "three", "one"}));

    // Opened again: the lines are read once more and the next tip shows.
    platform_.prompts.answerWindow<formTip>([&](formTip& w) { seen.push_back(w.lblTipText->text().toStdString()); });
    f.mnuTip->trigger();
    EXPECT_EQ(seen.back(), "two");
}

TEST_F(StartWindowsTest, TipsTurnedOffCloseAtStartAndTheMenuTurnsThemOn) {
    writeTips("one\n");
    Form1& f = StartEditor();
    platform::saveSetting("Options", "Show Tips at Startup", "0");
    formTip atStart;
    EXPECT_FALSE(atStart.Form_Load());

    platform_.prompts.answerWindow<formTip>([](formTip& w) {
        EXPECT_TRUE(w.chkLoadTipsAtStartup->isChecked());
        w.chkLoadTipsAtStartup->click();  // the user turns them off again
    });
    f.mnuTip->trigger();
    EXPECT_EQ(platform::getSetting("Options", "Show Tips at Startup"), "0");
    platform_.prompts.answerWindow<formTip>([](formTip&) {});
    f.mnuTip->trigger();
    EXPECT_EQ(platform::getSetting("Options", "Show Tips at Startup"), "1");
}

TEST_F(StartWindowsTest, AMissingTipsFileSaysSoInTheTip) {
    Form1& f = StartEditor();
    platform_.prompts.answerWindow<formTip>([](formTip& w) {
        EXPECT_EQ(w.lblTipText->text().toStdString(), "That the TIPOFDAY.TXT cannot be found ! \r\n\r\n");
    });
    f.mnuTip->trigger();
}

TEST_F(StartWindowsTest, TheSplashCountsDownInTenthsAndEndsOnTime) {
    struct Case {
        int interval;
        uint32_t elapsed;
        const char* text;
    };
    const Case cases[] = {{20000, 0, " 20"}, {20000, 100, " 19.9"}, {20000, 19950, " 0.1"},
                          {20000, 20000, " 0"}, {20000, 12340, " 7.7"}, {500, 0, " 0.5"}};
    for (const Case& c : cases)
        EXPECT_EQ(SplashCountdownText(c.interval, c.elapsed).toStdString(), c.text) << c.interval << " " << c.elapsed;

    // The program's clock is a fake: only the splash's own pauses move it.
    ASSERT_EQ(SplashIntervalMs(), 20000);
    formSplash splash;
    splash.Form_Activate();
    EXPECT_TRUE(splash.Done());
    EXPECT_EQ(platform_.clock.slept(), 20000u);
    EXPECT_EQ(splash.Label3->text().toStdString(), " 0");
}

TEST_F(StartWindowsTest, TheSplashStaysUpUntilItsTimeIsOver) {
    formSplash splash;
    splash.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&splash, &escape);
    EXPECT_TRUE(splash.isVisible());
    // The window's close button.
    EXPECT_FALSE(splash.close());
    EXPECT_TRUE(splash.isVisible());
    splash.Form_Activate();
    EXPECT_TRUE(splash.Done());
    EXPECT_FALSE(splash.isVisible());
}

TEST_F(StartWindowsTest, TemplatesAreTheWorldFilesOfTheFolderByName) {
    const std::string folder = programFolder() + "Templates/";
    std::filesystem::create_directory(folder);
    const std::string room = SaveSmallWorldFile("room.wld");
    std::filesystem::copy_file(room, folder + "ROOM.WLD");
    for (const char* other : {"notes.txt", "almost.wldx", "plain.wld"}) std::ofstream(folder + other) << "x";

    Form1& f = StartEditor();
    platform_.prompts.answerWindow<formTemplate>([](formTemplate& w) {
        EXPECT_EQ(listed(w), (std::vector<std::string>{"New", "plain", "ROOM"}));
        EXPECT_EQ(w.List1->currentRow(), 0);
        w.List1->setCurrentRow(2);
        w.cmdOk->click();
    });
    f.mnuNew->trigger();
    ASSERT_TRUE(f.WorldLoaded);
    ASSERT_NE(f.AddedWorldRootGrp, 0) << OMBREL_ext_get_last_error();
    EXPECT_EQ(OMBREL_group_get_father_group(f.AddedWorldRootGrp), Globals::RootGrp);
    EXPECT_EQ(Globals::CurrWorldFile, "Untitled.wld");
    // The chooser ends by fitting every view to what it merged.
    std::array<double, 4> fitted{};
    for (std::size_t i = 0; i < 4; ++i) fitted[i] = Globals::ViewCams[i]->dblViewingDistance;
    f.ZoomExtentAll();
    for (std::size_t i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(Globals::ViewCams[i]->dblViewingDistance, fitted[i]) << i;
}

TEST_F(StartWindowsTest, TheTemplateChoosersTitleFitsItsWidth) {
    formTemplate chooser(nullptr, nullptr);
    chooser.show();
    QApplication::processEvents();
    QFont bold = chooser.font();
    bold.setBold(true);
    const int title = QFontMetrics(bold).horizontalAdvance("Choose a template to start with.");
    // Room beside the text for the title bar's icon and its three buttons.
    EXPECT_GE(chooser.width(), title + 100);
    chooser.resize(10, chooser.height());
    EXPECT_GE(chooser.width(), title + 100);
}

TEST_F(StartWindowsTest, WithoutATemplatesFolderOnlyNewIsOffered) {
    Form1& f = StartEditor();
    platform_.prompts.answerWindow<formTemplate>([](formTemplate& w) {
        EXPECT_EQ(listed(w), std::vector<std::string>{"New"});
        w.cmdOk->click();
    });
    f.mnuNew->trigger();
    EXPECT_TRUE(f.WorldLoaded);
    EXPECT_EQ(OMBREL_group_get_first_group(), Globals::RootGrp);
}

TEST_F(StartWindowsTest, TheAboutLinksGoToTheDesktop) {
    formAbout about;
    about.Label6_Click();
    about.Label7_Click();
    about.lblWebSite_Click();
    const auto& calls = platform_.shell.calls();
    ASSERT_EQ(calls.size(), 3u);
    for (const ShellCall& call : calls) EXPECT_EQ(call.kind, ShellCall::Link);
    EXPECT_EQ(calls[0].target.rfind("https://", 0), 0u);
    EXPECT_EQ(calls[1].target.rfind("mailto:", 0), 0u);
    EXPECT_EQ(calls[2].target.rfind("https://", 0), 0u);
}

TEST_F(StartWindowsTest, EveryShippedTemplateIsAWorldTheEngineReads) {
    const std::string folder = std::string(TALVORA_PROGRAM_DIR) + "/Templates/";
    int templates = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".wld") continue;
        ++templates;
        SCOPED_TRACE(entry.path().string());
        ASSERT_EQ(OMBREL_engine_load_world(entry.path().c_str(), "", "", 4), 0) << OMBREL_ext_get_last_error();
        EXPECT_NE(OMBREL_group_get_using_name("the_world"), 0);
        EXPECT_GT(OMBREL_group_get_number_of_polygons(OMBREL_group_get_using_name("the_world")), 0);
    }
    EXPECT_GT(templates, 0);
}
