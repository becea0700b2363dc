#include "platform/NumericField.h"
#include "platform/doubles/test_application.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>

#include <gtest/gtest.h>

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

}  // namespace
