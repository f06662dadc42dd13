// The process seam's children with pipes, on the real system: natively, and
// under Wine in the Windows tests. The stand-in child is tests/tools/EchoChild.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "core/Process.h"

namespace tintwright {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(10);

std::string EchoChildPath() {
#ifdef TINTWRIGHT_ECHO_CHILD
    return TINTWRIGHT_ECHO_CHILD;
#else
    const std::string self = SystemProcess().ExecutablePath();
    return self.substr(0, self.find_last_of("\\/") + 1) + "echo_child.exe";
#endif
}

std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& arguments) {
    auto started = SystemProcess().StartChild(EchoChildPath(), arguments);
    EXPECT_TRUE(started) << started.Reason();
    return started ? std::move(*started) : nullptr;
}

// Writes and reads back by turns, never waiting inside a call, as a window's
// timer would.
std::vector<std::uint8_t> Exchange(ChildProcess& child, const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> back;
    std::vector<std::uint8_t> buffer(1 << 16);
    std::size_t written = 0;
    const auto deadline = Clock::now() + kPatience;
    while (back.size() < bytes.size() && Clock::now() < deadline) {
        if (written < bytes.size()) {
            const auto taken = child.WriteSome(std::span(bytes).subspan(written));
            EXPECT_TRUE(taken) << taken.Reason();
            if (!taken) break;
            written += *taken;
        }
        const auto got = child.ReadSome(buffer);
        EXPECT_TRUE(got) << got.Reason();
        if (!got) break;
        back.insert(back.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(*got));
        if (*got == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return back;
}

std::string AwaitEnd(ChildProcess& child) {
    const auto deadline = Clock::now() + kPatience;
    while (Clock::now() < deadline) {
        if (const auto ended = child.Ended()) return *ended;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return "still running";
}

TEST(ChildProcess, BytesGoThereAndBackWithoutEitherSideWaiting) {
    const auto child = Start({});
    ASSERT_NE(child, nullptr);
    EXPECT_FALSE(child->Ended());
    // Several times what either pipe holds, so both fill up on the way.
    std::vector<std::uint8_t> bytes(5u << 20);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    EXPECT_EQ(Exchange(*child, bytes), bytes);
    child->CloseInput();
    EXPECT_EQ(AwaitEnd(*child), "exited with status 0");
    EXPECT_FALSE(child->WriteSome(bytes));
}

struct Ending {
    const char* name;
    std::vector<std::string> arguments;
    std::string described;
};

void PrintTo(const Ending& ending, std::ostream* out) {
    *out << ending.name;
}

class ChildProcessEnding : public ::testing::TestWithParam<Ending> {};

TEST_P(ChildProcessEnding, IsToldInWords) {
    const auto child = Start(GetParam().arguments);
    ASSERT_NE(child, nullptr);
    if (GetParam().arguments.front() == "hang") {
        EXPECT_FALSE(child->Ended());
        child->Kill();
    }
    EXPECT_EQ(AwaitEnd(*child), GetParam().described);
    // Writing to a program that has gone fails and leaves the caller running.
    const std::vector<std::uint8_t> bytes(1 << 16, 1);
    std::size_t written = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto taken = child->WriteSome(bytes);
        if (!taken) break;
        written += *taken;
    }
    EXPECT_LT(written, 100u * bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Children, ChildProcessEnding,
                         ::testing::Values(Ending{"Exit", {"exit", "3"}, "exited with status 3"},
#ifdef _WIN32
                                           Ending{"Crash", {"crash"}, "crashed (exception 0xC0000005)"},
                                           Ending{"Kill", {"hang"}, "exited with status 1"}
#else
                      Ending{"Crash", {"crash"}, "was ended by signal 11 (Segmentation fault)"},
                      Ending{"Kill", {"hang"}, "was ended by signal 9 (Killed)"}
#endif
                                           ),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChildProcess, AProgramThatCannotStartSaysWhy) {
    const auto missing = SystemProcess().StartChild(EchoChildPath() + "-missing", {});
    ASSERT_FALSE(missing);
    EXPECT_FALSE(missing.Reason().empty());
    EXPECT_FALSE(SystemProcess().StartChild("", {}));
}

TEST(ChildProcess, LettingGoEndsAProgramThatDoesNotFinish) {
    auto child = Start({"hang"});
    ASSERT_NE(child, nullptr);
    const auto before = Clock::now();
    child.reset();
    EXPECT_LT(Clock::now() - before, std::chrono::seconds(2));
}

}  // namespace
}  // namespace tintwright
