#include "mainwindow/GamePreview.h"

#include <chrono>
#include <utility>

#include "core/FileSystem.h"
#include "mainwindow/CaptureSearch.h"
#include "preview/PreviewCore.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"

namespace tintwright {
namespace {

// RETRO_DEVICE_ID_JOYPAD_* of each pad key, on RetroArch's default keys.
std::optional<int> PadButton(PreviewKey key) {
    switch (key) {
        case PreviewKey::Z:
            return 0;  // B
        case PreviewKey::A:
            return 1;  // Y
        case PreviewKey::RightShift:
            return 2;  // Select
        case PreviewKey::Enter:
            return 3;  // Start
        case PreviewKey::Up:
            return 4;
        case PreviewKey::Down:
            return 5;
        case PreviewKey::Left:
            return 6;
        case PreviewKey::Right:
            return 7;
        case PreviewKey::X:
            return 8;  // A
        case PreviewKey::S:
            return 9;  // X
        case PreviewKey::Q:
            return 10;  // L
        case PreviewKey::W:
            return 11;  // R
        default:
            return std::nullopt;
    }
}

constexpr std::size_t kMostSettingBytes = 1024;
constexpr std::string_view kGamePreviewCaption = "Game Preview";
constexpr std::size_t kPowerOnFrames = 600;  // ten seconds of the game

}  // namespace

PreviewClock SteadyPreviewClock() {
    return [] {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    };
}

GamePreview::GamePreview(WindowSystem& windowSystem, const RomImage& rom, const std::string& settingsPath,
                         PreviewClock clock)
    : windowSystem_(windowSystem), rom_(rom), settingsPath_(settingsPath), clock_(std::move(clock)) {}

GamePreview::~GamePreview() {
    Close();
}

std::optional<std::string> GamePreview::Open(const std::string& stateName, const Capture& capture,
                                             const SearchResult& result) {
    Close();
    if (!capture.coreState) {
        if (!IsSaveStateFormat(capture.format)) return std::nullopt;
        return NotRunnableReason(capture.format);
    }
    Process& process = ThisProcess();
    const Result<std::string> core =
        ChoosePreviewCore({.setting = ReadProfileString(settingsPath_, kSettingsSection, kPreviewCoreKey, "",
                                                        kMostSettingBytes),
                           .emulator = capture.coreState->emulator,
                           .windows = IsWindowsExecutable(process.ExecutablePath()),
                           .howToName = CoreSettingHint(settingsPath_),
                           .libretroFolders = DebianLibretroFolders(),
                           .exists = [](const std::string& path) {
                               return Files().Status(path).kind == PathStatus::Kind::File;
                           }});
    if (!core) return core.Reason();
    corePath_ = *core;
    state_ = *capture.coreState;
    mapping_ = MapCaptureToRom(result);
    candidates_ = LiveCandidates(result);
    auto session = StartSession();
    if (!session) return session.Reason();
    session_ = std::move(*session);
    window_ = windowSystem_.CreatePreviewWindow(stateName + " - Game Preview");
    windowSystem_.SetPreviewStatus(window_, mapping_.status);
    windowSystem_.StartPreviewTimer(window_, kPreviewPollMs);
    return std::nullopt;
}

Result<std::unique_ptr<PreviewSession>> GamePreview::StartSession() {
    Process& process = ThisProcess();
    const auto rom = rom_.WorkingBytes().first(rom_.Size());
    playing_ = false;
    buttons_ = 0;
    replay_ = Replay::None;
    fromPowerOn_ = false;
    return PreviewSession::Start(process, PreviewHostPath(process.ExecutablePath()),
                                 {.corePath = corePath_,
                                  .rom = {rom.begin(), rom.end()},
                                  .state = state_.bytes,
                                  .cgramAt = static_cast<std::uint32_t>(state_.cgramAt),
                                  .cgramBigEndian = state_.cgramBigEndian,
                                  .colors = mapping_.colors},
                                 clock_());
}

void GamePreview::OnTimer(PreviewHandle preview) {
    if (preview != window_ || !session_) return;
    PreviewUpdate update = session_->Poll(clock_());
    if (update.frame) {
        const FrameMessage& frame = *update.frame;
        windowSystem_.PresentPreviewFrame(window_, {frame.width, frame.height, frame.pixels});
    }
    if (update.trace) TakeReplay(std::move(*update.trace));
    if (update.stopped) Stopped(*update.stopped);
}

// L: the last 30 seconds of play, replayed as they were and then with every
// candidate place tagged, tell which place each row the game reloaded came
// from; those rows then follow their live places.
void GamePreview::StartReplay() {
    if (replay_ != Replay::None) return;
    if (candidates_.empty()) {
        windowSystem_.SetPreviewStatus(window_,
                                       "No row of the state is stored in the ROM, so there is no place to "
                                       "tell apart");
        return;
    }
    const std::int64_t now = clock_();
    playing_ = false;
    session_->Send(PlayMessage{false}, now);
    session_->Send(ReplayMessage{}, now);
    replay_ = Replay::Untagged;
    windowSystem_.SetPreviewStatus(window_,
                                   "Replaying the last 30 seconds of play, as they were and then with "
                                   "every place of each row marked...");
}

void GamePreview::TakeReplay(TraceMessage trace) {
    const Replay stage = replay_;
    replay_ = Replay::None;
    if (stage == Replay::Untagged) {
        if (trace.cgram.empty()) {
            windowSystem_.SetPreviewStatus(window_,
                                           "Play the game first (Space): L then replays its last 30 "
                                           "seconds to tell which place each row is loaded from");
            return;
        }
        std::vector<std::uint16_t> avoided = trace.cgram;
        avoided.insert(avoided.end(), trace.start.begin(), trace.start.end());
        const auto rom = rom_.WorkingBytes().first(rom_.Size());
        Result<LiveTags> tags = TagCandidates(rom, candidates_, avoided);
        if (!tags) {
            windowSystem_.SetPreviewStatus(window_, "The replay cannot mark the places: " + tags.Reason());
            return;
        }
        tags_ = std::move(*tags);
        untagged_ = std::move(trace);
        replay_ = Replay::Tagged;
        if (fromPowerOn_)
            session_->Send(RunMessage{std::vector<std::uint16_t>(kPowerOnFrames, 0), tags_.rom, true},
                           clock_());
        else
            session_->Send(ReplayMessage{tags_.rom}, clock_());
        return;
    }
    if (stage != Replay::Tagged) return;
    const std::vector<LiveRow> rows =
        ReadLiveRows(untagged_.start, untagged_.cgram, trace.cgram, candidates_, tags_);
    const std::string live = LiveStatusText(rows);
    const bool fromPowerOn = std::exchange(fromPowerOn_, false);
    // The power-on run leaves the game 10 seconds in; the preview goes back
    // to the dropped state.
    if (fromPowerOn) session_->Send(ResetMessage{}, clock_());
    if (live.empty() && fromPowerOn) {
        windowSystem_.SetPreviewStatus(
            window_,
            "No row was loaded from its places in 10 seconds from power-on either; " + mapping_.status);
        return;
    }
    if (live.empty()) {
        const std::string seconds = std::to_string(trace.cgram.size() / 256 / 60);
        windowSystem_.SetPreviewStatus(window_, "No row was loaded from the ROM in the " + seconds +
                                                    " seconds replayed: the game loaded them earlier; " +
                                                    mapping_.status);
        // Palettes loaded once (a title screen's) show from power-on.
        if (windowSystem_.ShowMessageBox("No row was loaded from the ROM in the " + seconds +
                                             " seconds replayed.\r\n\r\nRun the game from power-on for 10 "
                                             "seconds to see where it loads its palettes?",
                                         kGamePreviewCaption,
                                         box::kYesNo | box::kIconQuestion) == box::kAnswerYes) {
            fromPowerOn_ = true;
            replay_ = Replay::Untagged;
            session_->Send(RunMessage{std::vector<std::uint16_t>(kPowerOnFrames, 0), {}, true}, clock_());
            windowSystem_.SetPreviewStatus(window_,
                                           "Running the game from power-on, as it is and then with every "
                                           "place of each row marked...");
        }
        return;
    }
    mapping_.colors = MapLiveRows(mapping_.colors, rows, candidates_);
    mapping_.status = live;
    session_->Send(RemapMessage{mapping_.colors}, clock_());
    windowSystem_.SetPreviewStatus(window_, live);
    std::vector<LocationEntry> entries;
    std::string names;
    for (const LiveRow& row : rows) {
        if (row.status != LiveRow::Status::Loaded) continue;
        entries.push_back(LivePlaceEntry(row.row, row.live.back().offset));
        names += "\r\n    " + entries.back().name;
    }
    if (windowSystem_.ShowMessageBox(live + ".\r\n\r\nAdd the live places to the location book?" + names,
                                     kGamePreviewCaption,
                                     box::kYesNo | box::kIconQuestion) == box::kAnswerYes)
        AddToLocationBook(windowSystem_, settingsPath_, entries);
}

// The window stays with the last frame and the reason; the working copy was
// never in the host's hands.
void GamePreview::Stopped(const std::string& reason) {
    session_.reset();
    windowSystem_.StopPreviewTimer(window_);
    windowSystem_.SetPreviewStatus(window_, PreviewStoppedText(reason));
}

void GamePreview::OnKey(PreviewHandle preview, PreviewKey key, bool pressed) {
    if (preview != window_ || !session_) return;
    const std::int64_t now = clock_();
    if (const auto button = PadButton(key)) {
        const auto bit = static_cast<std::uint16_t>(1u << *button);
        buttons_ = pressed ? static_cast<std::uint16_t>(buttons_ | bit)
                           : static_cast<std::uint16_t>(buttons_ & ~bit);
        session_->Send(InputMessage{buttons_}, now);
        return;
    }
    if (!pressed) return;
    if (key == PreviewKey::Space) {
        playing_ = !playing_;
        session_->Send(PlayMessage{playing_}, now);
    } else if (key == PreviewKey::L) {
        StartReplay();
    } else if (key == PreviewKey::Backspace) {
        playing_ = false;
        session_->Send(PlayMessage{false}, now);
        session_->Send(ResetMessage{}, now);
    }
}

void GamePreview::OnClose(PreviewHandle preview) {
    if (preview == window_)
        Close();
    else
        windowSystem_.DestroyPreviewWindow(preview);
}

void GamePreview::Close() {
    session_.reset();
    if (window_ == 0) return;
    windowSystem_.DestroyPreviewWindow(window_);
    window_ = 0;
}

// A paused preview draws the state again with the change; a running game
// takes the new bytes as its ROM at once.
void GamePreview::WorkingCopyChanged(std::uint32_t offset, std::uint32_t count) {
    if (!session_) return;
    const auto bytes = rom_.WorkingBytes().subspan(offset, count);
    const std::int64_t now = clock_();
    session_->Send(RomChangedMessage{offset, {bytes.begin(), bytes.end()}}, now);
    if (!playing_) session_->Send(DrawMessage{1}, now);
}

// Another file, or the same one again: the host starts over with it, at the
// same places, which a revision of the same game keeps.
void GamePreview::WorkingCopyReplaced() {
    if (window_ == 0) return;
    session_.reset();
    if (rom_.Size() == 0) {
        Close();  // the editor is closing
        return;
    }
    auto session = StartSession();
    if (!session) {
        Stopped(session.Reason());
        return;
    }
    session_ = std::move(*session);
    windowSystem_.SetPreviewStatus(window_, mapping_.status);
    windowSystem_.StartPreviewTimer(window_, kPreviewPollMs);
}

}  // namespace tintwright
