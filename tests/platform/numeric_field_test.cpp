#include "platform/NumericField.h"
#include "platform/doubles/scripted_prompts.h"
#include "platform/doubles/test_application.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class NumericFieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::doubles::testApplication();
        QLocale::setDefault(QLocale::c());
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    static void pressEnter(platform::NumericField& f) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(f.text(), &enter);
    }
};

TEST_F(NumericFieldTest, OnlyFiniteNumbersOfTheUsersLocaleAreNumeric) {
    struct Case {
        QLocale locale;
        const char* text;
        bool numeric;
        double value;
    };
    const QLocale c = QLocale::c(), de(QLocale::German, QLocale::Germany);
    const Case cases[] = {
        {c, "12.5", true, 12.5},  {c, " -3 ", true, -3},  {c, "1e3", true, 1000}, {c, "+.5", true, 0.5},
        {c, "", false, 0},        {c, "abc", false, 0},   {c, "1e999", false, 0}, {c, "inf", false, 0},
        {c, "nan", false, 0},     {c, "-INF", false, 0},  {c, "1,5", false, 0},   {c, "2x", false, 0},
        {de, "2,5", true, 2.5},   {de, "2.5", false, 0},  {de, "1.000", false, 0},
    };
    for (const Case& k : cases) {
        QLocale::setDefault(k.locale);
        double v = 0;
        EXPECT_EQ(platform::ReadNumber(QString::fromLatin1(k.text), v), k.numeric) << k.text;
        if (k.numeric) {
            EXPECT_EQ(v, k.value) << k.text;
        }
    }
    QLocale::setDefault(c);
    EXPECT_EQ(platform::NumberText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(platform::NumberText(-3), "-3");
    EXPECT_EQ(platform::NumberText(12.5), "12.5");
    QLocale::setDefault(de);
    EXPECT_EQ(platform::NumberText(12.5), "12,5");
}

TEST_F(NumericFieldTest, ByDefaultChangesCopyAndEnterAndSpinnerClicksApply) {
    platform::NumericField f;
    int applied = 0;
    f.apply = [&] { ++applied; };
    f.text()->setText("4");
    EXPECT_EQ(f.spinner()->Tag, "4");
    f.text()->setText("x");
    EXPECT_EQ(f.spinner()->Tag, "4");  // not numeric: not copied
    pressEnter(f);
    EXPECT_EQ(applied, 1);
    f.spinner()->clickUp();
    EXPECT_EQ(f.text()->text(), "5");
    EXPECT_EQ(f.spinner()->Value(), 0);
    EXPECT_EQ(applied, 2);
}

TEST_F(NumericFieldTest, OptionsStepWithoutApplyingOrCopying) {
    platform::NumericField f({false, 0.1, false, true});
    int applied = 0;
    bool active = false;
    f.apply = [&] { ++applied; };
    f.active = [&] { return active; };
    f.spinner()->clickUp();
    EXPECT_EQ(f.spinner()->Tag, "");  // resting while the window fills its fields
    active = true;
    f.text()->setText("7");
    EXPECT_EQ(f.spinner()->Tag, "");  // no copy on change
    f.spinner()->clickDown();
    EXPECT_EQ(f.text()->text(), "-1");  // an empty Tag starts at the click's value
    f.spinner()->clickUp();
    f.spinner()->clickUp();
    EXPECT_EQ(f.text()->text(), "-0.8");
    EXPECT_EQ(applied, 0);
}

TEST_F(NumericFieldTest, TextOnItsWayToANumberIsTextThatMoreKeysCanMakeOne) {
    struct Case {
        QLocale locale;
        const char* text;
        bool canBecome;
    };
    const QLocale c = QLocale::c(), de(QLocale::German, QLocale::Germany);
    const Case cases[] = {
        {c, "", true},      {c, "-", true},     {c, ".", true},      {c, "-.", true},   {c, "2.", true},
        {c, "1e", true},    {c, "1e-", true},   {c, " 12 ", true},   {c, "+", true},    {c, "1e999", true},
        {c, "abc", false},  {c, "1-", false},   {c, "1e5e", false},  {c, "--1", false}, {c, "1.2.3", false},
        {c, "inf", false},  {c, "1,5", false},  {c, "0x10", false},  {de, "2,", true},  {de, "2.", false},
    };
    for (const Case& k : cases) {
        QLocale::setDefault(k.locale);
        EXPECT_EQ(platform::CanBecomeNumber(QString::fromLatin1(k.text)), k.canBecome) << k.text;
    }
}

// Each row types into a field showing "0", entered as the user does (the whole
// text selected), one key at a time: a key that leaves no number to be had is
// refused, the text stays as typed otherwise, and the Tag takes only whole
// numbers within the field's range.
TEST_F(NumericFieldTest, AKeyThatCannotContinueANumberIsRefused) {
    struct Case {
        platform::NumberRange range;
        const char* keys;
        std::vector<QString> texts, tags;
    };
    const platform::NumberRange any{};
    const Case cases[] = {
        {any, "-25", {"-", "-2", "-25"}, {"0", "-2", "-25"}},
        {any, "1e999", {"1", "1e", "1e9", "1e99", "1e999"}, {"1", "1", "1e9", "1e99", "1e99"}},
        {platform::kLengths, "1e13", {"1", "1e", "1e1", "1e13"}, {"1", "1", "1e1", "1e1"}},
        {any, "abc", {"0", "0", "0"}, {"0", "0", "0"}},
        {any, "2x5", {"2", "2", "25"}, {"2", "2", "25"}},
        {any, "1.2.3", {"1", "1.", "1.2", "1.2", "1.23"}, {"1", "1.", "1.2", "1.2", "1.23"}},
        {platform::kFieldOfView, "500", {"5", "50", "500"}, {"5", "50", "50"}},
        {platform::kFieldOfView, "-30", {"-", "-3", "-30"}, {"0", "0", "0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        platform::NumericField f({true, 1, true, true, c.range});
        f.text()->setText("0");
        f.spinner()->Tag = "0";
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(f.text(), &in);
        const QString keys = QString::fromLatin1(c.keys);
        ASSERT_EQ(static_cast<std::size_t>(keys.size()), c.texts.size());
        for (qsizetype i = 0; i < keys.size(); ++i) {
            QTest::keyClicks(f.text(), keys.mid(i, 1));
            EXPECT_EQ(f.text()->text(), c.texts[static_cast<std::size_t>(i)]) << "after key " << i;
            EXPECT_EQ(f.spinner()->Tag, c.tags[static_cast<std::size_t>(i)]) << "after key " << i;
        }
    }
}

// Enter or leaving with text that is no value within the range puts back the
// text the edit started from, and applies that; a value within the range stays.
TEST_F(NumericFieldTest, EnterOrLeavingWithNoValueGoesBackToWhereTheEditStarted) {
    platform::NumericField f({true, 1, true, true, platform::kFieldOfView});
    std::vector<QString> applied;
    f.apply = [&] { applied.push_back(f.spinner()->Tag); };
    f.text()->setText("45");
    f.spinner()->Tag = "45";
    struct Case {
        const char* keys;
        bool enter;  // else the field is left
        const char* text;
        bool applies;  // a commit taken back applies nothing
    };
    // Each row starts from what the row before left.
    const Case cases[] = {
        {"1e", true, "45", false},  {"90", true, "90", true},      {"", false, "90", false},
        {"180", true, "90", false}, {"-", false, "90", false},     {"12.5", false, "12.5", true},
        {"0", true, "12.5", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.keys) + (c.enter ? " Enter" : " leave"));
        f.text()->selectAll();
        QTest::keyClick(f.text(), Qt::Key_Backspace);
        QTest::keyClicks(f.text(), QString::fromLatin1(c.keys));
        applied.clear();
        if (c.enter) {
            QTest::keyClick(f.text(), Qt::Key_Return);
        } else {
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(f.text(), &out);
        }
        EXPECT_EQ(f.text()->text(), c.text);
        EXPECT_EQ(f.spinner()->Tag, c.text);
        EXPECT_EQ(applied, c.applies ? std::vector<QString>{c.text} : std::vector<QString>{});
    }
    // A step that would leave the range is no step.
    f.text()->setText("179.5");
    f.spinner()->clickUp();
    EXPECT_EQ(f.text()->text(), "179.5");
    EXPECT_EQ(f.spinner()->Value(), 0);
    f.spinner()->clickDown();
    EXPECT_EQ(f.text()->text(), "178.5");
}

TEST_F(NumericFieldTest, AWindowOpenedByAStepEndsTheGesture) {
    platform::doubles::ScriptedPrompts prompts;
    platform::UpDown spinner;
    spinner.Max = 10;
    int steps = 0, released = 0;
    QObject::connect(&spinner, &platform::UpDown::Change, [&] {
        ++steps;
        platform::msgBox("too far");
    });
    QObject::connect(&spinner, &platform::UpDown::Released, [&] { ++released; });
    prompts.answer(platform::MsgResult::OK);
    spinner.press(platform::UpDown::Up);
    EXPECT_EQ(steps, 1);
    EXPECT_FALSE(spinner.Held());
    EXPECT_FALSE(spinner.Repeating());
    EXPECT_EQ(released, 1);
    for (QToolButton* arrow : spinner.findChildren<QToolButton*>()) EXPECT_FALSE(arrow->isDown());
    spinner.step();  // a late tick of the timer
    spinner.release();  // the mouse's release, wherever it went
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(released, 1);
    EXPECT_EQ(prompts.shown().size(), 1u);
}

TEST_F(NumericFieldTest, AHeldArrowIsPressStepsAndRelease) {
    platform::UpDown copies;
    copies.Min = 1;
    copies.Max = 99;
    copies.setValue(1);
    int changes = 0;
    QObject::connect(&copies, &platform::UpDown::Change, [&] { ++changes; });

    copies.press(platform::UpDown::Up);  // the press itself is the first step
    EXPECT_EQ(copies.Value(), 2);
    EXPECT_TRUE(copies.Held());
    EXPECT_TRUE(copies.Repeating());
    for (int i = 0; i < 120; ++i) copies.step();
    copies.release();
    EXPECT_EQ(copies.Value(), 99);
    EXPECT_EQ(changes, 98);  // none at the limit
    EXPECT_FALSE(copies.Held());
    EXPECT_FALSE(copies.Repeating());
    copies.step();  // a late tick after the release moves nothing
    EXPECT_EQ(copies.Value(), 99);

    copies.press(platform::UpDown::Down);
    for (int i = 0; i < 120; ++i) copies.step();
    copies.release();
    EXPECT_EQ(copies.Value(), 1);

    copies.clickUp();  // a click is a press and a release: nothing keeps repeating
    EXPECT_EQ(copies.Value(), 2);
    EXPECT_FALSE(copies.Repeating());
}

TEST_F(NumericFieldTest, EveryStepOfAHeldArrowFoldsIntoTheField) {
    platform::NumericField f;
    f.text()->setText("10");
    f.spinner()->press(platform::UpDown::Down);
    for (int i = 0; i < 3; ++i) f.spinner()->step();
    f.spinner()->release();
    EXPECT_EQ(f.text()->text(), "6");
    EXPECT_EQ(f.spinner()->Value(), 0);
}

TEST_F(NumericFieldTest, TheArrowButtonsPressAndRelease) {
    platform::UpDown spinner;
    spinner.resize(16, 22);
    const auto buttons = spinner.findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    QToolButton* up = buttons[0]->arrowType() == Qt::UpArrow ? buttons[0] : buttons[1];
    const QPointF centre(up->width() / 2.0, up->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, centre, up->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(up, &press);
    EXPECT_EQ(spinner.Value(), 1);
    EXPECT_TRUE(spinner.Repeating());
    QMouseEvent release(QEvent::MouseButtonRelease, centre, up->mapToGlobal(centre), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(up, &release);
    EXPECT_FALSE(spinner.Repeating());
    EXPECT_EQ(spinner.Value(), 1);
}

TEST_F(NumericFieldTest, OneMouseGestureIsOnePressAndOneReleaseWhereverItEnds) {
    platform::UpDown spinner;
    spinner.resize(16, 22);
    QToolButton* up = nullptr;
    for (QToolButton* b : spinner.findChildren<QToolButton*>())
        if (b->arrowType() == Qt::UpArrow) up = b;
    ASSERT_NE(up, nullptr);
    std::vector<std::string> events;
    QObject::connect(&spinner, &platform::UpDown::Pressed, [&] { events.push_back("press"); });
    QObject::connect(&spinner, &platform::UpDown::Change, [&] { events.push_back("step"); });
    QObject::connect(&spinner, &platform::UpDown::Released, [&] { events.push_back("release"); });
    auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons held) {
        QMouseEvent e(type, at, up->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(up, &e);
    };
    const QPointF inside(up->width() / 2.0, up->height() / 2.0), outside(200, 200);

    // Off the arrow and back while held, released off it.
    send(QEvent::MouseButtonPress, inside, Qt::LeftButton);
    send(QEvent::MouseMove, outside, Qt::LeftButton);
    EXPECT_TRUE(spinner.Held());  // still the same gesture
    send(QEvent::MouseMove, inside, Qt::LeftButton);
    send(QEvent::MouseMove, outside, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, outside, Qt::NoButton);
    EXPECT_EQ(events, (std::vector<std::string>{"press", "step", "release"}));
    EXPECT_FALSE(spinner.Repeating());

    // Released on the arrow: the button's click adds nothing.
    events.clear();
    send(QEvent::MouseButtonPress, inside, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, inside, Qt::NoButton);
    EXPECT_EQ(events, (std::vector<std::string>{"press", "step", "release"}));

    // A click made by the program is a press and a release too.
    events.clear();
    up->click();
    EXPECT_EQ(events, (std::vector<std::string>{"press", "step", "release"}));
    EXPECT_EQ(spinner.Value(), 3);

    // A release with nothing held, or a second one, says nothing.
    events.clear();
    spinner.release();
    EXPECT_TRUE(events.empty());
}

}  // namespace
