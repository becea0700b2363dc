// The light-map upload's scheduling with a worker held up anywhere, or with
// workers that cannot start: every job goes up once, in order, from the calling
// thread, with its own texels, and no buffer ever has two holders at once.
#include "../support/EnvVariable.h"

#include "upload_scheduler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr std::size_t kWorkers = 3, kRing = 2 * kWorkers, kJobs = 40, kWords = 64;
constexpr std::size_t kNone = ~std::size_t{0};

// Steps that fill a buffer with their job's number, half before a stall and half
// after, and read it back at the upload; each step counts itself in as a holder
// of its buffer while it runs.
class FakeSteps {
public:
    // The worker held: the one that takes job `job`, or the `worker`-th worker
    // to prepare anything (its first job); it is let go once the uploads have gone
    // three rings past its job, or all are done.
    struct Stall {
        std::size_t job = kNone, worker = kNone;
    };

    explicit FakeSteps(Stall stall)
        : stall_(stall),
          buffers_(ombrel::uploadBufferCount(kWorkers)),
          holders_(std::make_unique<std::atomic<int>[]>(buffers_.size())),
          uploads_(kJobs, 0) {}

    ombrel::UploadSteps steps() {
        return {[this](std::size_t job, std::size_t buffer) { prepare(job, buffer); },
                [this](std::size_t job, std::size_t buffer) { upload(job, buffer); }};
    }

    bool stalled() const { return stalled_; }
    bool heldTooLong() const { return heldTooLong_; }
    int twoHolders() const { return twoHolders_; }
    std::size_t workersSeen() const { return ordinals_.size(); }

    void expectEveryJobUploadedOnceWithItsOwnTexels() const {
        for (std::size_t j = 0; j < kJobs; ++j) EXPECT_EQ(uploads_[j], 1) << "uploads of job " << j;
        EXPECT_EQ(outOfOrder_, 0) << "uploads out of order";
        EXPECT_EQ(wrongTexels_, 0) << "uploads with another job's texels";
        EXPECT_EQ(offThread_, 0) << "uploads away from the calling thread";
        EXPECT_EQ(twoHolders_.load(), 0) << "steps in a buffer another step held";
    }

private:
    using Buffer = std::array<std::atomic<std::size_t>, kWords>;

    // Counts the step in as a holder of the buffer while it lives.
    class Hold {
    public:
        Hold(FakeSteps& s, std::size_t buffer) : holders_(s.holders_[buffer]) {
            if (holders_.fetch_add(1) != 0) ++s.twoHolders_;
        }
        ~Hold() { holders_.fetch_sub(1); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        std::atomic<int>& holders_;
    };

    void prepare(std::size_t job, std::size_t buffer) {
        const Hold hold(*this, buffer);
        Buffer& words = buffers_[buffer];
        for (std::size_t k = 0; k < kWords / 2; ++k) words[k] = job;
        if (std::this_thread::get_id() != caller_ && holdsHere(job)) waitForUploads(std::min(kJobs, job + 3 * kRing));
        for (std::size_t k = kWords / 2; k < kWords; ++k) words[k] = job;
    }

    void upload(std::size_t job, std::size_t buffer) {
        const Hold hold(*this, buffer);
        if (std::this_thread::get_id() != caller_) ++offThread_;
        const Buffer& words = buffers_[buffer];
        if (std::any_of(words.begin(), words.end(), [&](const auto& w) { return w != job; })) ++wrongTexels_;
        if (job != lastUploaded_ + 1) ++outOfOrder_;
        lastUploaded_ = job;
        ++uploads_[job];
        // Uploads are the slow part: the workers run a ring ahead.
        std::this_thread::sleep_for(20us);
        {
            std::lock_guard<std::mutex> lock(m_);
            uploaded_ = job + 1;
        }
        progress_.notify_all();
    }

    // Whether this worker is the one to hold up, at most once a run.
    bool holdsHere(std::size_t job) {
        std::lock_guard<std::mutex> lock(m_);
        const auto [it, first] = ordinals_.emplace(std::this_thread::get_id(), ordinals_.size());
        const bool chosen = job == stall_.job || (first && it->second == stall_.worker);
        if (!chosen || stalled_) return false;
        stalled_ = true;
        return true;
    }

    void waitForUploads(std::size_t count) {
        std::unique_lock<std::mutex> lock(m_);
        // A scheduler that waits for the held worker would never get there.
        if (!progress_.wait_for(lock, 10s, [&] { return uploaded_ >= count; })) heldTooLong_ = true;
    }

    const Stall stall_;
    const std::thread::id caller_ = std::this_thread::get_id();
    std::vector<Buffer> buffers_;
    std::unique_ptr<std::atomic<int>[]> holders_;
    std::atomic<int> twoHolders_{0};
    // The calling thread's alone.
    std::vector<int> uploads_;
    std::size_t lastUploaded_ = kNone;
    int outOfOrder_ = 0, wrongTexels_ = 0, offThread_ = 0;

    std::mutex m_;
    std::condition_variable progress_;
    std::size_t uploaded_ = 0;
    std::map<std::thread::id, std::size_t> ordinals_;
    bool stalled_ = false, heldTooLong_ = false;
};

int failures() { return testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count(); }

TEST(UploadScheduler, AHeldWorkerNeverSharesItsBufferAndEveryJobGoesUpOnceWithItsOwnTexels) {
    struct Case {
        std::string what;
        FakeSteps::Stall stall;
        const char* starts;  // OMBREL_WORKER_STARTS
        std::size_t mostWorkers;
    };
    std::vector<Case> cases = {
        {"the worker of the first job held", {0, kNone}, nullptr, kWorkers},
        {"the worker of a middle job held", {kJobs / 2, kNone}, nullptr, kWorkers},
        {"the worker of the last job held", {kJobs - 1, kNone}, nullptr, kWorkers},
        {"no worker started", {}, "0", 0},
        {"the one worker that started held", {kNone, 0}, "1", 1},
    };
    for (std::size_t w = 0; w < kWorkers; ++w)
        cases.push_back({"worker " + std::to_string(w) + " held on its first job", {kNone, w}, nullptr, kWorkers});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const EnvVariable starts("OMBREL_WORKER_STARTS", c.starts);
        const bool stalls = c.stall.job != kNone || c.stall.worker != kNone;
        // The machine decides which worker takes what: run again until the chosen
        // one was there to be held.
        bool held = false, failed = false;
        for (int attempt = 0; attempt < 200 && !held && !failed; ++attempt) {
            const int before = failures();
            FakeSteps fake(c.stall);
            ombrel::runUploads(kJobs, kWorkers, fake.steps());
            fake.expectEveryJobUploadedOnceWithItsOwnTexels();
            EXPECT_LE(fake.workersSeen(), c.mostWorkers);
            EXPECT_FALSE(fake.heldTooLong()) << "the calling thread waited for the held worker";
            held = fake.stalled();
            failed = failures() > before;
            if (!stalls) break;
        }
        if (!failed) {
            EXPECT_EQ(held, stalls);
        }
    }
}

}  // namespace
