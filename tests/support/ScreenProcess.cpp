#include "ScreenProcess.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

constexpr const char* kScreenVariable = "TALVORA_TEST_SCREEN";

QString sizeText(const QSize& size) { return QStringLiteral("%1x%2").arg(size.width()).arg(size.height()); }

}  // namespace

QString AskedScreenSize() { return qEnvironmentVariable(kScreenVariable); }

void ExpectPassesOnScreen(const QSize& size, const std::string& test, const std::string& folder) {
    SCOPED_TRACE(sizeText(size).toStdString());
    const QString config = QDir(QString::fromStdString(folder)).filePath("screen-" + sizeText(size) + ".json");
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QStringLiteral(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": %1, "height": %2}]})")
                   .arg(size.width())
                   .arg(size.height())
                   .toUtf8());
    file.close();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
    env.insert(kScreenVariable, sizeText(size));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromStdString("--gtest_filter=" + test)});
    ASSERT_TRUE(child.waitForFinished(240000));
    const std::string output = QString::fromUtf8(child.readAll()).toStdString();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}
