// The client's side of the preview host, against a scripted host: what it
// sends, the frames it hands on, and each way a host can fail, which ends it
// and says why once.

#include <gtest/gtest.h>

#include "preview/PreviewSession.h"
#include "tests/support/FakeProcess.h"

namespace tintwright {
namespace {

using testing::FakeChild;
using testing::FakeProcess;

const LoadMessage kLoad{"/cores/core.so", {1, 2, 3, 4}, std::vector<std::uint8_t>(600, 0), 8, false,
                        {{1, 2}}};
const FrameMessage kFrame{2, 1, {0x112233, 0x445566}};

struct SessionFixture : ::testing::Test {
    FakeProcess process;
    std::unique_ptr<PreviewSession> session;
    std::shared_ptr<FakeChild> host;

    void SetUp() override {
        auto started = PreviewSession::Start(process, "/opt/tintwright/tintwright-preview", kLoad, 0);
        ASSERT_TRUE(started) << started.Reason();
        session = std::move(*started);
        host = process.children.back();
    }
};

std::vector<PreviewMessage> Decode(const std::vector<std::uint8_t>& bytes) {
    PreviewMessageReader reader;
    reader.Feed(bytes);
    std::vector<PreviewMessage> messages;
    while (auto next = reader.Next()) {
        if (!*next) break;
        messages.push_back(**next);
    }
    return messages;
}

TEST_F(SessionFixture, SendsTheGameThenAsksForAFrameAndHandsTheFrameOn) {
    EXPECT_EQ(host->file, "/opt/tintwright/tintwright-preview");
    EXPECT_FALSE(session->Poll(1).frame);
    EXPECT_EQ(Decode(host->input), (std::vector<PreviewMessage>{kLoad, DrawMessage{1}}));
    host->Say(EncodePreviewMessage(kFrame));
    const PreviewUpdate update = session->Poll(2);
    EXPECT_EQ(update.frame, kFrame);
    EXPECT_FALSE(update.stopped);
    // Nothing is owed now: a long quiet spell is no hang.
    EXPECT_FALSE(session->Poll(100000).stopped);
    EXPECT_FALSE(host->killed);
}

// A run owes its trace: the host has 20 ms a frame beyond the usual
// allowance, and the trace, arriving with the load's frame, settles both.
TEST_F(SessionFixture, ARunOwesItsTraceForAsLongAsItsFramesTake) {
    session->Send(RunMessage{std::vector<std::uint16_t>(600, 0), {}, false}, 0);
    EXPECT_EQ(session->AnswersOwed(), 2);
    const std::int64_t due = kPreviewAnswerMilliseconds + 600 * kPreviewMillisecondsPerFrame;
    EXPECT_FALSE(session->Poll(due).stopped);
    const TraceMessage trace{std::vector<std::uint16_t>(256, 0),
                             std::vector<std::uint16_t>(256 * 600, 0x0421)};
    host->Say(EncodePreviewMessage(kFrame));
    host->Say(EncodePreviewMessage(trace));
    const PreviewUpdate update = session->Poll(due);
    EXPECT_EQ(update.frame, kFrame);
    EXPECT_EQ(update.trace, trace);
    EXPECT_EQ(session->AnswersOwed(), 0);

    SetUp();
    session->Send(RunMessage{std::vector<std::uint16_t>(600, 0), {}, false}, 0);
    EXPECT_TRUE(session->Poll(due + 1).stopped);
}

TEST_F(SessionFixture, WhatAFullPipeDoesNotTakeNowGoesLater) {
    host->inputRoom = 5;
    session->Poll(1);
    EXPECT_EQ(host->input.size(), 5u);
    host->inputRoom = 1 << 20;
    session->Poll(2);
    EXPECT_EQ(session->Unsent(), 0u);
}

struct Failure {
    const char* what;
    std::function<void(FakeChild&)> host;
    std::int64_t pollAt;
    std::string reason;
};

TEST_F(SessionFixture, EveryFailureEndsTheHostAndIsToldOnce) {
    const Failure failures[] = {
        {"its own words",
         [](FakeChild& c) { c.Say(EncodePreviewMessage(ErrorMessage{"the core did not take the ROM"})); }, 10,
         "the core did not take the ROM"},
        {"garbage",
         [](FakeChild& c) {
             c.Say({1, 0, 0, 0, 99});
         },
         10, "the preview host sent garbage ("},
        {"a message of the editor's", [](FakeChild& c) { c.Say(EncodePreviewMessage(ResetMessage{})); }, 10,
         "the preview host sent a message of the editor's"},
        {"a crash", [](FakeChild& c) { c.ended = "was ended by signal 11 (Segmentation fault)"; }, 10,
         "tintwright-preview was ended by signal 11 (Segmentation fault)"},
        {"no answer", [](FakeChild&) {}, 2 * kPreviewAnswerMilliseconds + 1,
         "the core did not answer within 2 seconds, so it was ended"},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.what);
        SetUp();
        session->Poll(1);
        failure.host(*host);
        // Just inside the time allowed the host is still waited for.
        if (failure.reason.starts_with("the core did not answer")) {
            EXPECT_FALSE(session->Poll(failure.pollAt - 2).stopped);
        }
        const PreviewUpdate update = session->Poll(failure.pollAt);
        ASSERT_TRUE(update.stopped);
        EXPECT_TRUE(update.stopped->starts_with(failure.reason)) << *update.stopped;
        EXPECT_TRUE(host->killed);
        EXPECT_TRUE(session->Stopped());
        EXPECT_FALSE(session->Poll(failure.pollAt + 1).stopped);
    }
}

TEST_F(SessionFixture, WhilePlayingFramesKeepTheHostAliveAndTheirAbsenceDoesNot) {
    host->Say(EncodePreviewMessage(kFrame));
    session->Poll(1);
    session->Send(PlayMessage{true}, 10);
    for (std::int64_t now = 1000; now <= 10000; now += 1000) {
        host->Say(EncodePreviewMessage(kFrame));
        ASSERT_FALSE(session->Poll(now).stopped) << now;
    }
    EXPECT_TRUE(session->Poll(10000 + kPreviewAnswerMilliseconds + 1).stopped);
}

TEST(PreviewSession, TheHostIsBesideTheExecutableWithItsExtension) {
    EXPECT_EQ(PreviewHostPath("/usr/bin/tintwright"), "/usr/bin/tintwright-preview");
    EXPECT_EQ(PreviewHostPath("/opt/Tintwright/tintwright.exe"), "/opt/Tintwright/tintwright-preview.exe");
    FakeProcess process;
    process.startChildFailure = "No such file or directory";
    const auto started = PreviewSession::Start(process, "/x/tintwright-preview", kLoad, 0);
    ASSERT_FALSE(started);
    EXPECT_EQ(started.Reason(), "cannot start /x/tintwright-preview: No such file or directory");
}

}  // namespace
}  // namespace tintwright
