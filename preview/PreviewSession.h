#pragma once

// The client's side of the game preview's host: starts the host, hands it the
// game and what changes, and takes its frames, without ever waiting for it,
// so a window can poll it on a timer. A host that crashes, exits, sends
// garbage or owes an answer for too long is ended, and the session says why
// in one line; the caller's data is never in the host's hands.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Process.h"
#include "preview/PreviewProtocol.h"

namespace tintwright {

// How long the host may owe an answer before it is taken for hung.
inline constexpr std::int64_t kPreviewAnswerMilliseconds = 2000;
// A draw of many frames is given this much longer per frame.
inline constexpr std::int64_t kPreviewMillisecondsPerFrame = 20;

// "The game preview stopped: REASON"
std::string PreviewStoppedText(const std::string& reason);

// The host program beside the executable at executablePath, with its
// extension (".exe" on Windows).
std::string PreviewHostPath(const std::string& executablePath);

struct PreviewUpdate {
    std::optional<FrameMessage> frame;   // the newest frame that arrived
    std::optional<TraceMessage> trace;   // a run's CGRAM, once it is done
    std::optional<std::string> stopped;  // why the host is gone, once
};

class PreviewSession {
public:
    // Starts hostPath and sends it the game; the first frame follows. Times
    // are the caller's clock in milliseconds, so tests can drive it.
    static Result<std::unique_ptr<PreviewSession>> Start(Process& process, const std::string& hostPath,
                                                         const LoadMessage& load, std::int64_t now);

    // Queues a message for the host; a draw or a reset owes a frame.
    void Send(const PreviewMessage& message, std::int64_t now);
    // Hands over what the pipe takes and reads what has arrived.
    PreviewUpdate Poll(std::int64_t now);
    bool Stopped() const { return stopped_; }
    // Frames and traces asked for that have not arrived yet.
    int AnswersOwed() const { return framesOwed_; }
    // Bytes still waiting to go to the host.
    std::size_t Unsent() const { return outgoing_.size() - sent_; }

private:
    explicit PreviewSession(std::unique_ptr<ChildProcess> child) : child_(std::move(child)) {}
    void Stop(std::string reason, PreviewUpdate& update);
    bool Owed() const { return framesOwed_ > 0 || playing_; }

    std::unique_ptr<ChildProcess> child_;
    std::vector<std::uint8_t> outgoing_;
    std::size_t sent_ = 0;
    PreviewMessageReader reader_;
    int framesOwed_ = 0;  // frames and traces
    bool playing_ = false;
    std::int64_t answerDue_ = 0;
    bool stopped_ = false;
};

}  // namespace tintwright
