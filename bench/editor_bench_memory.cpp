// The editor's memory with a world open: the program started as a user starts
// it, once with the sample world and once with a 100,000-polygon world, each
// measured (resident set) once it has opened, drawn its views and settled.
#include "bench_worlds.h"
#include "engine/ombrel_loader.h"
#include "ombrel.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// VmRSS of a process in MiB; negative once it is gone.
double residentMiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

// Starts the editor on world with its own settings folder and returns its
// resident size once it has stayed within half a MiB for two seconds.
double editorResidentMiB(const std::string& world, const fs::path& settings) {
    const std::string program = TALVORA_PROGRAM_DIR "/talvora";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("TALVORA_SPLASH_MS", "0", 1);
        ::setenv("XDG_CONFIG_HOME", settings.c_str(), 1);
        std::freopen("/dev/null", "w", stderr);
        ::execl(program.c_str(), program.c_str(), world.c_str(), static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    if (pid < 0) return -1;
    double last = -1, result = -1;
    int steady = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const double now = residentMiB(pid);
        if (now < 0) break;
        steady = std::fabs(now - last) < 0.5 ? steady + 1 : 0;
        last = now;
        if (steady >= 20) {
            result = now;
            break;
        }
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return result;
}

void BM_EditorMemoryWith100kWorld(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / ("talvora_bench_memory_" + std::to_string(::getpid()));
    fs::create_directories(folder / "settings");
    const std::string big = (folder / "big.wld").string();
    const bool made = ombrel_loader::load(TALVORA_PROGRAM_DIR "/libombrel3.so").status ==
                          ombrel_loader::Status::Loaded &&
                      bench::writeQuadWorld(big);
    if (made) OMBREL_engine_close();
    ombrel_loader::unload();
    if (!made) {
        state.SkipWithError("the 100,000-polygon world could not be written");
        return;
    }
    const std::string sample = TALVORA_PROGRAM_DIR "/Sample/Sample.wld";
    double withSample = 0, withBig = 0;
    for (auto _ : state) {
        withSample = editorResidentMiB(sample, folder / "settings");
        withBig = editorResidentMiB(big, folder / "settings");
        if (withSample < 0 || withBig < 0) state.SkipWithError("the editor did not settle");
    }
    state.counters["sample_MiB"] = withSample;
    state.counters["world100k_MiB"] = withBig;
    state.counters["above_MiB"] = withBig - withSample;
    fs::remove_all(folder);
}
BENCHMARK(BM_EditorMemoryWith100kWorld)->Iterations(1)->Repetitions(3)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
