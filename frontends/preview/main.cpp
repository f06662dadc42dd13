// tintwright-preview: runs a libretro core for the editor's game preview, in
// a process of its own so that a core's crash, hang or garbage costs the
// editor nothing. It reads the client's messages on standard input and
// answers on standard output (preview/PreviewProtocol.h); it ends when its
// input ends.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <variant>

#include "frontends/preview/HostPlatform.h"
#include "frontends/preview/LibretroRunner.h"
#include "preview/StatePatch.h"

namespace {

using namespace tintwright;
using namespace tintwright::host;
using Clock = std::chrono::steady_clock;

// The SNES's NTSC frame rate.
constexpr auto kFrameTime = std::chrono::nanoseconds(1'000'000'000LL * 1'000'000 / 60'098'814);

// Messages as the reader thread takes them off the pipe.
class Inbox {
public:
    void Run() {
        PreviewMessageReader reader;
        std::vector<std::uint8_t> buffer(64 << 10);
        for (;;) {
            const std::size_t got = ReadInput(buffer);
            if (got == 0) return Close({});
            reader.Feed(std::span(buffer).first(got));
            for (;;) {
                auto next = reader.Next();
                if (!next) return Close("the editor's message is broken: " + next.Reason());
                if (!*next) break;
                const std::lock_guard lock(mutex_);
                messages_.push_back(std::move(**next));
                arrived_.notify_one();
            }
        }
    }

    // The next message; nothing when the deadline passed first or the input
    // has ended (then Ended() says so).
    std::optional<PreviewMessage> Wait(std::optional<Clock::time_point> deadline) {
        std::unique_lock lock(mutex_);
        const auto ready = [&] { return !messages_.empty() || ended_; };
        if (deadline)
            arrived_.wait_until(lock, *deadline, ready);
        else
            arrived_.wait(lock, ready);
        if (messages_.empty()) return std::nullopt;
        PreviewMessage message = std::move(messages_.front());
        messages_.pop_front();
        return message;
    }
    bool Ended() {
        const std::lock_guard lock(mutex_);
        return ended_ && messages_.empty();
    }
    std::string Failure() {
        const std::lock_guard lock(mutex_);
        return failure_;
    }

private:
    void Close(std::string failure) {
        const std::lock_guard lock(mutex_);
        ended_ = true;
        failure_ = std::move(failure);
        arrived_.notify_one();
    }

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<PreviewMessage> messages_;
    bool ended_ = false;
    std::string failure_;
};

bool Send(const PreviewMessage& message) {
    return WriteOutput(EncodePreviewMessage(message));
}

// What the host keeps between messages once a game is loaded.
class Preview {
public:
    static Result<std::unique_ptr<Preview>> Start(LoadMessage load) {
        using Started = Result<std::unique_ptr<Preview>>;
        if (load.cgramAt > load.state.size() || load.state.size() - load.cgramAt < 512)
            return Started::Failed("the state holds no CGRAM at byte " + std::to_string(load.cgramAt));
        auto runner = LibretroRunner::Start(load.corePath, load.rom);
        if (!runner) return Started::Failed(runner.Reason());
        std::unique_ptr<Preview> preview(new Preview(std::move(load), std::move(*runner)));
        return Started(std::move(preview));
    }

    // The dropped state with the ROM's words in it, run for frames frames.
    Result<FrameMessage> Draw(std::uint32_t frames) {
        Leave();
        // One frame shows the ROM's words through CGRAM and work RAM alone;
        // loading the game again (about five times the frame's own cost) waits
        // until the game runs on. The dropped state goes in next, so the
        // running one need not be kept.
        if (frames > 1)
            if (const Result<void> reloaded = ReloadIfChanged(false); !reloaded)
                return Result<FrameMessage>::Failed(reloaded.Reason());
        std::vector<std::uint8_t> state = load_.state;
        WriteMappedCgram(state, load_.cgramAt, load_.cgramBigEndian, load_.colors, load_.rom);
        if (const Result<void> put = runner_->Unserialize(state); !put)
            return Result<FrameMessage>::Failed(put.Reason());
        if (!copies_) copies_ = FindWramCopies(runner_->WorkRam(), StateCgram(), load_.colors);
        Result<FrameMessage> frame = Result<FrameMessage>::Failed("no frame was asked for");
        for (std::uint32_t i = 0; i < std::max<std::uint32_t>(frames, 1); ++i) {
            WriteMappedWram(runner_->WorkRam(), *copies_, load_.colors, load_.rom);
            frame = runner_->RunFrame(0);
            if (!frame) break;
        }
        return frame;
    }

    // The dropped state as it is, or the game just switched on (loading it
    // again is its power-on), run frame by frame with the buttons given, on
    // the ROM given or the working copy, and CGRAM after each frame as the
    // core's own state holds it.
    Result<TraceMessage> Run(const RunMessage& run) {
        using Traced = Result<TraceMessage>;
        Leave();
        const bool otherRom = !run.rom.empty();
        const Result<void> loaded = otherRom          ? runner_->Reload(run.rom)
                                    : run.fromPowerOn ? runner_->Reload(load_.rom)
                                                      : ReloadIfChanged(false);
        if (!loaded) return Traced::Failed(loaded.Reason());
        TraceMessage trace{StateCgram(), {}};
        if (run.fromPowerOn) {
            const auto now = runner_->Serialize();
            if (!now) return Traced::Failed(now.Reason());
            const auto words = CgramAfter(*now);
            if (!words) return Traced::Failed(words.Reason());
            trace.start = *words;
        } else if (const Result<void> put = runner_->Unserialize(load_.state); !put) {
            return Traced::Failed(put.Reason());
        }
        if (const Result<void> traced = Trace(run.buttons, trace); !traced)
            return Traced::Failed(traced.Reason());
        // The working copy goes back in at once: a still frame does not reload.
        if (otherRom)
            if (const Result<void> back = runner_->Reload(load_.rom); !back)
                return Traced::Failed(back.Reason());
        if (otherRom) romChanged_ = false;
        return trace;
    }

    // What the game did while it played, again from the oldest state kept,
    // on rom (the working copy when empty); then the game is back where it was.
    Result<TraceMessage> Replay(const std::vector<std::uint8_t>& rom) {
        using Traced = Result<TraceMessage>;
        playing_ = false;
        const auto resume = runner_->Serialize();
        if (!resume) return Traced::Failed(resume.Reason());
        const auto now = CgramAfter(*resume);
        if (!now) return Traced::Failed(now.Reason());
        TraceMessage trace{*now, {}};
        if (kept_.empty()) return trace;
        const bool tagged = !rom.empty();
        if (const Result<void> loaded = tagged ? runner_->Reload(rom) : ReloadIfChanged(false); !loaded)
            return Traced::Failed(loaded.Reason());
        if (const Result<void> put = runner_->Unserialize(kept_.front().state); !put)
            return Traced::Failed(put.Reason());
        trace.start = CgramOf(kept_.front().state);
        if (const Result<void> traced = Trace({pads_.begin(), pads_.end()}, trace); !traced)
            return Traced::Failed(traced.Reason());
        if (tagged) {
            if (const Result<void> back = runner_->Reload(load_.rom); !back)
                return Traced::Failed(back.Reason());
            romChanged_ = false;
        }
        if (const Result<void> put = runner_->Unserialize(*resume); !put) return Traced::Failed(put.Reason());
        return trace;
    }

    void Remap(std::vector<MappedColor> colors) {
        load_.colors = std::move(colors);
        copies_.reset();
    }

    void ChangeRom(const RomChangedMessage& change) {
        if (change.offset > load_.rom.size() || load_.rom.size() - change.offset < change.bytes.size())
            return;
        std::copy(change.bytes.begin(), change.bytes.end(), load_.rom.begin() + change.offset);
        romChanged_ = true;
    }

    // The game runs on the working copy as its ROM, from where it is now. A
    // state is kept every second, for a replay.
    Result<FrameMessage> PlayFrame() {
        if (const Result<void> reloaded = ReloadIfChanged(true); !reloaded)
            return Result<FrameMessage>::Failed(reloaded.Reason());
        if (left_) {
            kept_.clear();
            pads_.clear();
            played_ = 0;
            left_ = false;
        }
        if (played_ % kFramesBetweenKept == 0) {
            auto state = runner_->Serialize();
            if (!state) return Result<FrameMessage>::Failed(state.Reason());
            kept_.push_back({std::move(*state), played_});
            if (kept_.size() > kKeptStates) {
                kept_.pop_front();
                while (pads_.size() > played_ - kept_.front().frame) pads_.pop_front();
            }
        }
        pads_.push_back(buttons_);
        ++played_;
        return runner_->RunFrame(buttons_);
    }

    bool playing_ = false;
    std::uint16_t buttons_ = 0;

private:
    Preview(LoadMessage load, std::unique_ptr<LibretroRunner> runner)
        : load_(std::move(load)), runner_(std::move(runner)) {}

    std::vector<std::uint16_t> StateCgram() const { return CgramOf(load_.state); }

    Result<std::vector<std::uint16_t>> CgramAfter(const std::vector<std::uint8_t>& state) const {
        if (state.size() < load_.cgramAt + 512)
            return Result<std::vector<std::uint16_t>>::Failed(
                "the core's state no longer holds CGRAM at byte " + std::to_string(load_.cgramAt));
        return CgramOf(state);
    }

    // Each frame with its buttons, and CGRAM after it into trace.
    Result<void> Trace(const std::vector<std::uint16_t>& buttons, TraceMessage& trace) {
        trace.cgram.reserve(256 * buttons.size());
        for (const std::uint16_t held : buttons) {
            if (const auto frame = runner_->RunFrame(held); !frame)
                return Result<void>::Failed(frame.Reason());
            const auto state = runner_->Serialize();
            if (!state) return Result<void>::Failed(state.Reason());
            const auto words = CgramAfter(*state);
            if (!words) return Result<void>::Failed(words.Reason());
            trace.cgram.insert(trace.cgram.end(), words->begin(), words->end());
        }
        return Result<void>::Done();
    }

    // The game leaves where it played to (a draw, a reset, a run): what was
    // kept of that stays for a replay until it plays again.
    void Leave() {
        playing_ = false;
        left_ = true;
    }

    // state holds 512 bytes from cgramAt on.
    std::vector<std::uint16_t> CgramOf(const std::vector<std::uint8_t>& state) const {
        std::vector<std::uint16_t> words(256);
        for (std::size_t i = 0; i < words.size(); ++i) {
            const std::uint8_t first = state[load_.cgramAt + 2 * i];
            const std::uint8_t second = state[load_.cgramAt + 2 * i + 1];
            words[i] = load_.cgramBigEndian ? static_cast<std::uint16_t>(first << 8 | second)
                                            : static_cast<std::uint16_t>(second << 8 | first);
        }
        return words;
    }

    // The core keeps the ROM it was given; a changed working copy reaches it
    // by loading the game again, with the running state carried across when
    // the game plays on from where it is.
    Result<void> ReloadIfChanged(bool keepRunningState) {
        if (!romChanged_) return Result<void>::Done();
        romChanged_ = false;
        if (!keepRunningState) return runner_->Reload(load_.rom);
        const auto now = runner_->Serialize();
        if (!now) return Result<void>::Failed(now.Reason());
        if (const Result<void> reloaded = runner_->Reload(load_.rom); !reloaded) return reloaded;
        return runner_->Unserialize(*now);
    }

    // A state a second for the last 30 seconds of play (about 10 MB with
    // bsnes-mercury's 320 KB states), and the pad of every frame since the
    // oldest one.
    static constexpr std::uint64_t kFramesBetweenKept = 60;
    static constexpr std::size_t kKeptStates = kMostReplayFrames / kFramesBetweenKept;
    struct Kept {
        std::vector<std::uint8_t> state;
        std::uint64_t frame = 0;  // played before it
    };
    std::deque<Kept> kept_;
    std::deque<std::uint16_t> pads_;
    std::uint64_t played_ = 0;
    bool left_ = false;

    LoadMessage load_;
    std::unique_ptr<LibretroRunner> runner_;
    std::optional<std::vector<WramCopy>> copies_;
    bool romChanged_ = false;
};

int Fail(const std::string& reason) {
    Send(ErrorMessage{reason});
    return 1;
}

int Serve(Inbox& inbox) {
    std::unique_ptr<Preview> preview;
    Clock::time_point nextFrame = Clock::now();
    for (;;) {
        const bool playing = preview && preview->playing_;
        std::optional<PreviewMessage> message = inbox.Wait(playing ? std::optional(nextFrame) : std::nullopt);
        if (!message && inbox.Ended()) {
            const std::string failure = inbox.Failure();
            return failure.empty() ? 0 : Fail(failure);
        }
        if (message) {
            if (auto* load = std::get_if<LoadMessage>(&*message)) {
                auto started = Preview::Start(std::move(*load));
                if (!started) return Fail(started.Reason());
                preview = std::move(*started);
                continue;
            }
            if (!preview) return Fail("the editor asked for a frame before it loaded a game");
            if (const auto* draw = std::get_if<DrawMessage>(&*message)) {
                auto frame = preview->Draw(draw->frames);
                if (!frame) return Fail(frame.Reason());
                if (!Send(*frame)) return 0;
            } else if (std::holds_alternative<ResetMessage>(*message)) {
                auto frame = preview->Draw(1);
                if (!frame) return Fail(frame.Reason());
                if (!Send(*frame)) return 0;
            } else if (const auto* run = std::get_if<RunMessage>(&*message)) {
                auto trace = preview->Run(*run);
                if (!trace) return Fail(trace.Reason());
                if (!Send(*trace)) return 0;
            } else if (const auto* replay = std::get_if<ReplayMessage>(&*message)) {
                auto trace = preview->Replay(replay->rom);
                if (!trace) return Fail(trace.Reason());
                if (!Send(*trace)) return 0;
            } else if (auto* remap = std::get_if<RemapMessage>(&*message)) {
                preview->Remap(std::move(remap->colors));
            } else if (const auto* change = std::get_if<RomChangedMessage>(&*message)) {
                preview->ChangeRom(*change);
            } else if (const auto* play = std::get_if<PlayMessage>(&*message)) {
                if (play->playing && !preview->playing_) nextFrame = Clock::now();
                preview->playing_ = play->playing;
            } else if (const auto* input = std::get_if<InputMessage>(&*message)) {
                preview->buttons_ = input->buttons;
            } else {
                return Fail("the editor sent a message meant for it");
            }
            continue;
        }
        // A frame of the running game is due.
        auto frame = preview->PlayFrame();
        if (!frame) return Fail(frame.Reason());
        if (!Send(*frame)) return 0;
        nextFrame += kFrameTime;
        // After a stall (a slow core, a busy machine) keep time from now
        // rather than racing to catch up.
        if (Clock::now() - nextFrame > 6 * kFrameTime) nextFrame = Clock::now();
    }
}

}  // namespace

int main() {
    EndOnCrash();
    PrepareStreams();
    Inbox inbox;
    // Detached: at the end the process goes, and a read blocked on the pipe
    // with it.
    std::thread([&inbox] { inbox.Run(); }).detach();
    const int status = Serve(inbox);
    std::fflush(stderr);
    std::_Exit(status);
}
