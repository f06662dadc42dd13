// The settings file's lock on the platform's own file system, held by another
// holder: waited for while it is held, told about once after the patience,
// and given up after the longest wait. Built into the native tests and into
// the Win32 tests run under Wine, so both implementations of Lock answer it.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/FileSystem.h"
#include "tests/support/TempDir.h"

namespace tintwright {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(LockWait, ALockHeldElsewhereIsWaitedForAsLongAsAskedAndNoLonger) {
    const struct {
        const char* name;
        bool held;
        std::chrono::milliseconds releasedAfter;  // 0: never, while the wait lasts
        bool taken;
        int told;
    } rows[] = {
        {"free", false, 0ms, true, 0},
        {"released while waiting", true, 300ms, true, 1},
        {"never released", true, 0ms, false, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        testing::TempDir dir;
        const std::string lockPath = dir.File("tintwright.ini.lock");
        FileHandle held = kNoFile;
        if (row.held) {
            ASSERT_TRUE(SystemFiles().Lock(lockPath, held, {}));
        }
        std::thread releaser;
        if (row.releasedAfter > 0ms)
            releaser = std::thread([&] {
                std::this_thread::sleep_for(row.releasedAfter);
                SystemFiles().Unlock(held);
            });
        int told = 0;
        const LockWait wait{.patience = 100ms, .longest = 600ms, .whileWaiting = [&] { ++told; }};
        FileHandle lock = kNoFile;
        const auto start = Clock::now();
        const FileOutcome outcome = SystemFiles().Lock(lockPath, lock, wait);
        const auto waited = Clock::now() - start;
        if (releaser.joinable()) releaser.join();
        EXPECT_EQ(static_cast<bool>(outcome), row.taken) << outcome.Reason();
        EXPECT_EQ(told, row.told);
        if (row.taken) {
            EXPECT_GE(waited, row.releasedAfter);
            SystemFiles().Unlock(lock);
        } else {
            EXPECT_EQ(outcome.Reason(), "another program has kept " + lockPath + " locked for 600 ms");
            EXPECT_GE(waited, 600ms);
            EXPECT_LT(waited, 5s);
        }
        if (row.held && row.releasedAfter == 0ms) SystemFiles().Unlock(held);
    }
}

}  // namespace
}  // namespace tintwright
