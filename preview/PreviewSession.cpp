#include "preview/PreviewSession.h"

#include <array>

#include "core/FileSystem.h"
#include "preview/PreviewCore.h"

namespace tintwright {
namespace {

constexpr std::string_view kHostName = "tintwright-preview";

}  // namespace

std::string PreviewStoppedText(const std::string& reason) {
    return "The game preview stopped: " + reason;
}

std::string PreviewHostPath(const std::string& executablePath) {
    const bool windows = IsWindowsExecutable(executablePath);
    return FolderOf(executablePath, kPathSeparators) + std::string(kHostName) + (windows ? ".exe" : "");
}

Result<std::unique_ptr<PreviewSession>> PreviewSession::Start(Process& process, const std::string& hostPath,
                                                              const LoadMessage& load, std::int64_t now) {
    using Started = Result<std::unique_ptr<PreviewSession>>;
    // Leaves room for the message's other fields.
    if (load.rom.size() + load.state.size() > kMaxPreviewMessageBytes - (1u << 20))
        return Started::Failed("the ROM and the state together are " +
                               std::to_string(load.rom.size() + load.state.size()) +
                               " bytes, more than the preview takes");
    auto child = process.StartChild(hostPath, {});
    if (!child) return Started::Failed("cannot start " + hostPath + ": " + child.Reason());
    std::unique_ptr<PreviewSession> session(new PreviewSession(std::move(*child)));
    session->Send(load, now);
    session->Send(DrawMessage{1}, now);
    // The core's start and a large ROM take longer than a frame.
    session->answerDue_ = now + 2 * kPreviewAnswerMilliseconds;
    return Started(std::move(session));
}

void PreviewSession::Send(const PreviewMessage& message, std::int64_t now) {
    if (stopped_) return;
    const std::vector<std::uint8_t> bytes = EncodePreviewMessage(message);
    // Sent bytes are dropped before the buffer grows, so a long session does
    // not keep everything it ever said.
    if (sent_ == outgoing_.size()) outgoing_.clear(), sent_ = 0;
    outgoing_.insert(outgoing_.end(), bytes.begin(), bytes.end());
    std::int64_t allowance = kPreviewAnswerMilliseconds;
    if (const auto* draw = std::get_if<DrawMessage>(&message)) {
        allowance += kPreviewMillisecondsPerFrame * static_cast<std::int64_t>(draw->frames);
        ++framesOwed_;
    } else if (std::holds_alternative<ResetMessage>(message)) {
        ++framesOwed_;
    } else if (const auto* run = std::get_if<RunMessage>(&message)) {
        allowance += kPreviewMillisecondsPerFrame * static_cast<std::int64_t>(run->buttons.size());
        ++framesOwed_;
    } else if (std::holds_alternative<ReplayMessage>(message)) {
        allowance += kPreviewMillisecondsPerFrame * std::int64_t{kMostReplayFrames};
        ++framesOwed_;
    } else if (const auto* play = std::get_if<PlayMessage>(&message)) {
        playing_ = play->playing;
    }
    if (!Owed()) return;
    // The clock runs from the latest request that owes an answer, or keeps
    // running from an earlier one still unanswered.
    answerDue_ = std::max(answerDue_, now + allowance);
}

void PreviewSession::Stop(std::string reason, PreviewUpdate& update) {
    stopped_ = true;
    child_->Kill();
    update.stopped = std::move(reason);
}

PreviewUpdate PreviewSession::Poll(std::int64_t now) {
    PreviewUpdate update;
    if (stopped_) return update;
    // Asked first, so that whatever the host wrote before it ended is read
    // below and its own last word wins.
    const auto ended = child_->Ended();
    if (Unsent() > 0) {
        const auto written = child_->WriteSome(std::span(outgoing_).subspan(sent_));
        if (written) sent_ += *written;
    }
    std::array<std::uint8_t, 64 * 1024> buffer;
    for (;;) {
        const auto got = child_->ReadSome(buffer);
        if (!got || *got == 0) break;
        reader_.Feed(std::span(buffer).first(*got));
    }
    for (;;) {
        auto next = reader_.Next();
        if (!next) {
            Stop("the preview host sent garbage (" + next.Reason() + ")", update);
            return update;
        }
        if (!*next) break;
        if (auto* frame = std::get_if<FrameMessage>(&**next)) {
            update.frame = std::move(*frame);
            if (framesOwed_ > 0) --framesOwed_;
            answerDue_ = now + kPreviewAnswerMilliseconds;
        } else if (auto* trace = std::get_if<TraceMessage>(&**next)) {
            update.trace = std::move(*trace);
            if (framesOwed_ > 0) --framesOwed_;
            answerDue_ = now + kPreviewAnswerMilliseconds;
        } else if (const auto* error = std::get_if<ErrorMessage>(&**next)) {
            Stop(error->text, update);
            return update;
        } else {
            Stop("the preview host sent a message of the editor's", update);
            return update;
        }
    }
    if (ended) {
        Stop(std::string(kHostName) + " " + *ended, update);
    } else if (Owed() && now > answerDue_) {
        Stop("the core did not answer within " + std::to_string(kPreviewAnswerMilliseconds / 1000) +
                 " seconds, so it was ended",
             update);
    }
    return update;
}

}  // namespace tintwright
