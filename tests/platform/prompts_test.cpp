#include "platform/doubles/scripted_prompts.h"
#include "platform/doubles/test_application.h"
#include "platform/colour.h"
#include "platform/qt_prompts.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace platform;
using platform::doubles::PromptKind;
using platform::doubles::ScriptedPrompts;

namespace {

// A small window of the program's own kind: a field and an OK button.
class formName : public QDialog {
public:
    formName() {
        setObjectName("formName");
        setWindowTitle("Name");
        txtName = new QLineEdit(this);
        cmdOk = new QPushButton("OK", this);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(txtName);
        layout->addWidget(cmdOk);
        connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    }
    void cmdOk_Click() {
        chosen = txtName->text().toStdString();
        accept();
    }
    QLineEdit* txtName;
    QPushButton* cmdOk;
    std::string chosen;
};

class PromptsTest : public ::testing::Test {
protected:
    void SetUp() override { platform::doubles::testApplication(); }
};

TEST_F(PromptsTest, ScriptedAnswersComeInOrderAndEveryPromptIsRecorded) {
    ScriptedPrompts script;
    script.answer(MsgResult::No).answerInput("Box01").answerSaveFile("/tmp/a.wld").answerColour(rgb(1, 2, 3));

    EXPECT_EQ(msgBox("Save changes?", MsgButtons::YesNoCancel, MsgIcon::Question), MsgResult::No);
    EXPECT_EQ(prompts().inputBox("Name?", "Rename", "old"), "Box01");
    EXPECT_EQ(prompts().saveFileName({"Save As", "", "", ""}), "/tmp/a.wld");
    EXPECT_EQ(prompts().chooseColour(0), rgb(1, 2, 3));

    ASSERT_EQ(script.shown().size(), 4u);
    const auto& box = script.shown()[0];
    EXPECT_EQ(box.kind, PromptKind::Message);
    EXPECT_EQ(box.title, "TALVORA");
    EXPECT_EQ(box.text, "Save changes?");
    EXPECT_EQ(box.buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(box.icon, MsgIcon::Question);
    EXPECT_EQ(script.shown()[1].title, "Rename");
    EXPECT_EQ(script.shown()[2].kind, PromptKind::SaveFile);
    EXPECT_EQ(script.pendingAnswers(), 0u);
}

TEST_F(PromptsTest, CancelledDialogsGiveEmptyAnswers) {
    ScriptedPrompts script;
    script.answerOpenFile("").answerInput("").answerColour(std::nullopt);
    EXPECT_EQ(prompts().openFileName({"Open", "", "", ""}), "");
    EXPECT_EQ(prompts().inputBox("Name?", "Rename", "old"), "");
    EXPECT_EQ(prompts().chooseColour(rgb(9, 9, 9)), std::nullopt);
}

TEST_F(PromptsTest, AnUnexpectedPromptFailsTheTestWithoutBlocking) {
    struct Case {
        const char* name;
        std::function<void(ScriptedPrompts&)> script;
        std::function<void()> prompt;
        const char* failure;
    };
    const Case cases[] = {
        {"nothing scripted", [](ScriptedPrompts&) {},
         [] { EXPECT_EQ(msgBox("Delete?", MsgButtons::YesNoCancel), MsgResult::Cancel); },
         "Unscripted message box: [TALVORA] Delete?"},
        {"another kind scripted", [](ScriptedPrompts& s) { s.answerInput("x"); },
         [] { EXPECT_EQ(msgBox("Delete?", MsgButtons::YesNo), MsgResult::No); },
         "expected a input box"},
        {"an answer the box does not offer", [](ScriptedPrompts& s) { s.answer(MsgResult::Yes); },
         [] { EXPECT_EQ(msgBox("Done", MsgButtons::OKCancel), MsgResult::Cancel); },
         "without that button"},
        {"an unscripted window", [](ScriptedPrompts&) {},
         [] {
             formName w;
             EXPECT_EQ(showModal(w), QDialog::Rejected);
             EXPECT_FALSE(w.isVisible());
         },
         "Unscripted modal window: [Name] formName"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NONFATAL_FAILURE(
            {
                ScriptedPrompts script;
                c.script(script);
                c.prompt();
                while (script.pendingAnswers() > 0) script.inputBox("", "", "");  // drain quietly
            },
            c.failure);
    }
}

TEST_F(PromptsTest, AScriptedMenuTriggersTheChosenItemAndRecordsWhatWasOffered) {
    QMenu menu;
    menu.setObjectName("mnuGroupMenu");
    std::vector<std::string> triggered;
    for (const char* name : {"mnuHide", "mnuUnhide", "mnuDelete"}) {
        QAction* a = menu.addAction(name);
        a->setObjectName(name);
        QObject::connect(a, &QAction::triggered, [&triggered, name] { triggered.push_back(name); });
    }
    menu.actions()[1]->setVisible(false);

    ScriptedPrompts script;
    script.answerMenu("mnuDelete").answerMenu("");
    QAction* chosen = popupMenu(menu, QPoint(10, 10));
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->objectName(), "mnuDelete");
    EXPECT_EQ(popupMenu(menu, QPoint(10, 10)), nullptr);
    EXPECT_EQ(triggered, std::vector<std::string>{"mnuDelete"});
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[0].kind, PromptKind::Menu);
    EXPECT_EQ(script.shown()[0].text, "mnuGroupMenu");
    EXPECT_EQ(script.shown()[0].items, (std::vector<std::string>{"mnuHide", "mnuDelete"}));

    // An unscripted menu, or a choice the menu does not show, fails the test.
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(popupMenu(menu, QPoint()), nullptr), "Unscripted pop-up menu");
    EXPECT_NONFATAL_FAILURE(
        {
            script.answerMenu("mnuUnhide");
            EXPECT_EQ(popupMenu(menu, QPoint()), nullptr);
        },
        "does not offer");
    EXPECT_EQ(triggered.size(), 1u);
}

TEST_F(PromptsTest, TheColourDialogIsToldItsInitialColour) {
    ScriptedPrompts script;
    script.answerColour(std::nullopt);
    EXPECT_EQ(prompts().chooseColour(rgb(4, 5, 6)), std::nullopt);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].initialColour, rgb(4, 5, 6));
}

TEST_F(PromptsTest, AnswersLeftOverFailTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompts script;
            script.answer(MsgResult::OK);
        },
        "1 scripted answer(s) never asked for");
}

TEST_F(PromptsTest, AScriptedWindowIsDrivenLiveAndItsResultReturned) {
    ScriptedPrompts script;
    bool wasVisible = false;
    script.answerWindow<formName>([&](formName& f) {
        wasVisible = f.isVisible();
        f.txtName->setText("Tower");
        f.cmdOk_Click();
    });
    formName w;
    EXPECT_EQ(showModal(w), QDialog::Accepted);
    EXPECT_TRUE(wasVisible);
    EXPECT_EQ(w.chosen, "Tower");
    EXPECT_FALSE(w.isVisible());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].kind, PromptKind::Window);
    EXPECT_EQ(script.shown()[0].text, "formName");
}

TEST_F(PromptsTest, AWindowLeftOpenByItsHandlerIsClosedAsByTheUserAndPromptsInsideItAreScripted) {
    ScriptedPrompts script;
    script.answerWindow([](QDialog&) { EXPECT_EQ(msgBox("Really?", MsgButtons::YesNo), MsgResult::Yes); })
        .answer(MsgResult::Yes);
    formName w;
    w.setResult(QDialog::Accepted);  // left from an earlier showing
    EXPECT_EQ(showModal(w), QDialog::Rejected);
    EXPECT_FALSE(w.isVisible());
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[1].text, "Really?");
}

TEST_F(PromptsTest, AWindowOfAnotherClassThanScriptedFails) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompts script;
            script.answerWindow<QFileDialog>([](QFileDialog&) {});
            formName w;
            showModal(w);
        },
        "expected a window of type");
}

TEST_F(PromptsTest, MessageBoxesHaveTheClassicButtonsIconsAndTitle) {
    struct Case {
        MsgButtons buttons;
        MsgIcon icon;
        QMessageBox::StandardButtons qtButtons;
        QMessageBox::Icon qtIcon;
        QMessageBox::StandardButton defaultButton;
        QMessageBox::StandardButton escapeButton;  // NoButton: cannot be escaped
    };
    const Case cases[] = {
        {MsgButtons::OK, MsgIcon::None, QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok},
        {MsgButtons::OKCancel, MsgIcon::Information, QMessageBox::Ok | QMessageBox::Cancel,
         QMessageBox::Information, QMessageBox::Ok, QMessageBox::Cancel},
        {MsgButtons::YesNo, MsgIcon::Critical, QMessageBox::Yes | QMessageBox::No, QMessageBox::Critical,
         QMessageBox::Yes, QMessageBox::NoButton},
        {MsgButtons::YesNoCancel, MsgIcon::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
         QMessageBox::Question, QMessageBox::Yes, QMessageBox::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.buttons));
        const auto box = makeMessageBox("text", c.buttons, c.icon, "Error");
        EXPECT_EQ(box->standardButtons(), c.qtButtons);
        EXPECT_EQ(box->icon(), c.qtIcon);
        EXPECT_EQ(box->windowTitle(), "Error");
        EXPECT_EQ(box->text(), "text");
        EXPECT_EQ(box->standardButton(box->defaultButton()), c.defaultButton);
        EXPECT_EQ(box->escapeButton() ? box->standardButton(box->escapeButton()) : QMessageBox::NoButton,
                  c.escapeButton);
    }
    EXPECT_EQ(resultOfButton(QMessageBox::Yes), MsgResult::Yes);
    EXPECT_EQ(resultOfButton(QMessageBox::No), MsgResult::No);
    EXPECT_EQ(resultOfButton(QMessageBox::Ok), MsgResult::OK);
    EXPECT_EQ(resultOfButton(QMessageBox::Cancel), MsgResult::Cancel);
}

TEST_F(PromptsTest, TheNumberInputBoxRefusesKeysThatLeaveNoNumber) {
    const auto box = makeNumberInputDialog("Optimization Level", "Reduce Polygon Count", "");
    EXPECT_EQ(box->windowTitle(), "Reduce Polygon Count");
    EXPECT_EQ(box->labelText(), "Optimization Level");
    QLineEdit* field = box->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, "-1x.5e");
    EXPECT_EQ(field->text(), "-1.5e");
    QTest::keyClicks(field, "2");
    EXPECT_EQ(box->textValue(), "-1.5e2");
}

TEST_F(PromptsTest, SaveDialogLeavesTheOverwriteQuestionToTheProgram) {
    const FileRequest request{"Save World", "/tmp", "world.wld", "World files (*.wld);;All files (*)"};
    const auto save = makeFileDialog(request, FileMode::Save);
    EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(save->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(save->windowTitle(), "Save World");
    EXPECT_EQ(save->nameFilters(), QStringList({"World files (*.wld)", "All files (*)"}));

    const auto open = makeFileDialog(request, FileMode::Open);
    EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);

    const auto many = makeFileDialog(request, FileMode::OpenMany);
    EXPECT_EQ(many->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(many->fileMode(), QFileDialog::ExistingFiles);
}

TEST_F(PromptsTest, SeveralFilesAreChosenInTheDialogsOrderAndOneScriptedPathIsOneFile) {
    ScriptedPrompts script;
    script.answerOpenFiles({"/p/b.bmp", "/p/a.bmp"}).answerOpenFile("/p/c.bmp").answerOpenFiles({});
    const FileRequest request{"Open", "", "", "Bitmaps (*.bmp)"};
    EXPECT_EQ(prompts().openFileNames(request), (std::vector<std::string>{"/p/b.bmp", "/p/a.bmp"}));
    EXPECT_EQ(prompts().openFileNames(request), std::vector<std::string>{"/p/c.bmp"});
    EXPECT_TRUE(prompts().openFileNames(request).empty());
    ASSERT_EQ(script.shown().size(), 3u);
    EXPECT_TRUE(script.shown()[0].manyFiles);
    EXPECT_EQ(script.shown()[0].filter, "Bitmaps (*.bmp)");
}

}  // namespace
