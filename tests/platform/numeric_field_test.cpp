#include "platform/NumericField.h"
#include "platform/doubles/test_application.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
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

TEST_F(NumericFieldTest, RevertAtOnceKeepsTheLastAcceptedValue) {
    platform::NumericField::Options options;
    options.applyOnSpinner = false;
    options.revertAtOnce = true;
    platform::NumericField f(options);
    f.text()->setText("0");
    struct Case {
        const char* typed;
        const char* shown;
    };
    // Each row starts from the value the row before left.
    const Case cases[] = {
        {"12.5", "12.5"}, {"", "12.5"},    {"-", "12.5"},   {"abc", "12.5"}, {".", "12.5"},
        {"1e999", "12.5"}, {"inf", "12.5"}, {"nan", "12.5"}, {"-3", "-3"},    {"7x", "-3"},
    };
    for (const Case& c : cases) {
        f.text()->setText(QString::fromLatin1(c.typed));
        EXPECT_EQ(f.text()->text(), c.shown) << c.typed;
        EXPECT_EQ(f.spinner()->Tag, c.shown) << c.typed;
    }
    f.spinner()->clickUp();  // steps the accepted value, not the text typed last
    EXPECT_EQ(f.text()->text(), "-2");
    EXPECT_EQ(f.spinner()->Value(), 0);
}

TEST_F(NumericFieldTest, RevertAtOnceWithNothingAcceptedYetEmptiesTheField) {
    platform::NumericField f({true, 1, true, true, true});
    f.text()->setText("abc");  // no accepted value: the empty Tag comes back, and stays
    EXPECT_EQ(f.text()->text(), "");
    EXPECT_EQ(f.spinner()->Tag, "");
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
