// The program itself, run as a child from a temporary program folder; its
// prompts answer themselves and appear on stderr.
#include "program_folder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>

namespace {

struct ChildRun {
    int exitCode = -1;
    bool crashed = true;
    std::string errors;
};

ChildRun runTalvora(const ProgramFolder& folder, const QStringList& arguments) {
    const std::string exe = folder.add(TALVORA_EXECUTABLE, "talvora");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TALVORA_PROMPTS", "log");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    // Another folder as the current one: the program must find its own.
    process.setWorkingDirectory("/");
    process.start(QString::fromStdString(exe), arguments);
    ChildRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.errors = "(did not finish)";
        return run;
    }
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.errors = process.readAllStandardError().toStdString();
    return run;
}

TEST(TalvoraProcessTest, StartsOnlyWithAWholeEngineBesideIt) {
    using Engine = ProgramFolder::Engine;
    const struct {
        const char* name;
        Engine engine;
        int exitCode;
        const char* onStderr;
    } cases[] = {
        {"no library", Engine::None, 1, "prompt message [TALVORA] The 3D engine library "},
        {"a text file as library", Engine::TextFile, 1, "libombrel3.so could not be opened: "},
        {"an engine without the first call", Engine::Incomplete, 1,
         "prompt message [TALVORA] Incorrect ombrel3.dll version encountered. Terminating...\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolder folder(c.engine);
        const ChildRun run = runTalvora(folder, {"my", "world.wld"});
        EXPECT_FALSE(run.crashed);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_NE(run.errors.find(c.onStderr), std::string::npos) << run.errors;
    }
}

// With the whole engine the program passes the check and keeps running its main
// loop without a prompt until it is told to end; SIGTERM ends it cleanly, by its
// own exit path.
TEST(TalvoraProcessTest, RunsItsMainLoopWithTheWholeEngine) {
    ProgramFolder folder(ProgramFolder::Engine::Complete);
    const std::string exe = folder.add(TALVORA_EXECUTABLE, "talvora");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TALVORA_PROMPTS", "log");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TALVORA_SPLASH_MS", "0");
    process.setProcessEnvironment(env);
    process.setWorkingDirectory("/");
    process.start(QString::fromStdString(exe), {});
    ASSERT_TRUE(process.waitForStarted());
    EXPECT_FALSE(process.waitForFinished(5000)) << process.readAllStandardError().toStdString();
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
    }
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "not killed by the signal";
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(process.readAllStandardError().toStdString().find("prompt "), std::string::npos);
}

}  // namespace
