#include "frontends/console/PreviewCommand.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <ostream>

#include "capture/Capture.h"
#include "core/Process.h"
#include "finder/PaletteSearch.h"
#include "finder/RomLayout.h"
#include "frontends/console/CommandArguments.h"
#include "frontends/console/PngImage.h"
#include "preview/LiveRun.h"
#include "preview/PreviewCore.h"
#include "preview/PreviewMapping.h"
#include "preview/PreviewSession.h"

namespace tintwright {
namespace {

constexpr std::uint32_t kMostFrames = kMostRunFrames;
constexpr std::uint32_t kLiveFrames = 600;  // ten seconds of the game

std::int64_t Milliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The host's answer to what follows the load: the last of the frames asked
// for, or a run's trace; or why there is none.
Result<PreviewUpdate> AskHost(const LoadMessage& load, const std::optional<PreviewMessage>& then) {
    Process& process = ThisProcess();
    auto session =
        PreviewSession::Start(process, PreviewHostPath(process.ExecutablePath()), load, Milliseconds());
    if (!session) return Result<PreviewUpdate>::Failed(session.Reason());
    if (then) (*session)->Send(*then, Milliseconds());
    // The load's own frame comes first; an update holds the newest frame and
    // the trace, whichever arrived together.
    PreviewUpdate last;
    for (;;) {
        PreviewUpdate update = (*session)->Poll(Milliseconds());
        if (update.stopped) return Result<PreviewUpdate>::Failed(*update.stopped);
        if (update.frame) last.frame = std::move(update.frame);
        if (update.trace) last.trace = std::move(update.trace);
        if ((*session)->AnswersOwed() == 0) return last;
        process.Sleep(1);
    }
}

// What preview and live both start from: the ROM, the state's capture, a core
// that can run it. Nothing when refused (err was told).
struct CoreRun {
    std::vector<std::uint8_t> rom;
    Capture capture;
    std::string core;
};

std::optional<CoreRun> ReadCoreRun(const std::string& romPath, const std::string& statePath,
                                   const std::string& coreSetting, std::ostream& err) {
    CoreRun run;
    std::vector<std::uint8_t> stateBytes;
    if (!ReadInputFile(romPath, "the ROM", run.rom, err) ||
        !ReadInputFile(statePath, "the state", stateBytes, err))
        return std::nullopt;
    Result<Capture> capture = ReadCapture(stateBytes);
    if (!capture) return Refuse(err, statePath + ": " + capture.Reason()), std::nullopt;
    if (!capture->coreState)
        return Refuse(err,
                      statePath + ": a " + capture->format +
                          " cannot be run by a libretro core; states of RetroArch, bsnes-mercury, higan, "
                          "bsnes and snes9x can"),
               std::nullopt;
    const Result<std::string> core =
        ChoosePreviewCore({.setting = coreSetting,
                           .emulator = capture->coreState->emulator,
                           .windows = IsWindowsExecutable(ThisProcess().ExecutablePath()),
                           .howToName = "--core CORE",
                           .libretroFolders = DebianLibretroFolders(),
                           .exists = [](const std::string& path) {
                               return Files().Status(path).kind == PathStatus::Kind::File;
                           }});
    if (!core) return Refuse(err, core.Reason()), std::nullopt;
    run.capture = std::move(*capture);
    run.core = *core;
    return run;
}

LoadMessage LoadOf(const CoreRun& run, std::vector<std::uint8_t> rom, std::vector<MappedColor> colors) {
    const CoreState& state = *run.capture.coreState;
    return {.corePath = run.core,
            .rom = std::move(rom),
            .state = state.bytes,
            .cgramAt = static_cast<std::uint32_t>(state.cgramAt),
            .cgramBigEndian = state.cgramBigEndian,
            .colors = std::move(colors)};
}

// "$1A000 ($03:A000)", or the offset alone when the ROM's mapping is unknown.
std::string Place(const RomLayout& layout, std::uint32_t offset) {
    const auto bus = BusAddressText(layout, offset);
    return FormatOffset(offset) + (bus ? " (" + *bus + ")" : "");
}

std::string Places(const RomLayout& layout, const std::vector<std::uint32_t>& offsets) {
    std::string text;
    for (const std::uint32_t offset : offsets) text += (text.empty() ? "" : ", ") + Place(layout, offset);
    return text;
}

void PrintLiveRows(const std::vector<LiveRow>& rows, const RomLayout& layout, std::uint32_t frames,
                   bool fromPowerOn, std::ostream& out) {
    for (const LiveRow& row : rows) {
        out << "row " << row.row << ": ";
        switch (row.status) {
            case LiveRow::Status::Loaded:
                for (std::size_t i = 0; i < row.live.size(); ++i)
                    out << (i == 0 ? "loaded from " : ", then from ") << Place(layout, row.live[i].offset)
                        << " at frame " << row.live[i].frame;
                if (!row.notLoaded.empty())
                    out << "; " << Places(layout, row.notLoaded)
                        << (row.notLoaded.size() == 1 ? " is" : " are") << " not used in these frames";
                break;
            case LiveRow::Status::Computed:
                out << "computed: it changes to colours of no candidate (" << Places(layout, row.notLoaded)
                    << ")";
                break;
            case LiveRow::Status::NotReloaded:
                out << "not reloaded in " << frames
                    << (fromPowerOn ? " frames from power-on: no candidate place was loaded ("
                                    : " frames: the game loaded it before the state was saved (")
                    << Places(layout, row.notLoaded) << ")";
                break;
        }
        out << '\n';
    }
}

void PrintLiveJson(const std::vector<LiveRow>& rows, const RomLayout& layout, std::ostream& out) {
    const auto bus = [&layout](std::uint32_t offset) {
        const auto text = BusAddressText(layout, offset);
        return text ? "\"" + *text + "\"" : std::string("null");
    };
    out << '[';
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const LiveRow& row = rows[r];
        out << (r == 0 ? "" : ",") << "\n  {\"row\": " << row.row << ", \"status\": \""
            << LiveStatusName(row.status) << "\", \"live\": [";
        for (std::size_t i = 0; i < row.live.size(); ++i)
            out << (i == 0 ? "" : ", ") << "{\"offset\": " << row.live[i].offset
                << ", \"bus_address\": " << bus(row.live[i].offset) << ", \"frame\": " << row.live[i].frame
                << '}';
        out << "], \"not_loaded\": [";
        for (std::size_t i = 0; i < row.notLoaded.size(); ++i)
            out << (i == 0 ? "" : ", ") << row.notLoaded[i];
        out << "]}";
    }
    out << (rows.empty() ? "]\n" : "\n]\n");
}

}  // namespace

int RunPreview(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    std::string error;
    const auto parsed =
        CommandArguments::Parse(arguments, {"--output", "--edited", "--core", "--frames"}, {}, error);
    if (!parsed) return Refuse(err, error);
    if (parsed->Positional().size() != 2)
        return Refuse(err, "expected ROM STATE --output FRAME.png (see --help)");
    const std::string& romPath = parsed->Positional()[0];
    const std::string& statePath = parsed->Positional()[1];
    const std::string output = parsed->Value("--output");
    if (output.empty()) return Refuse(err, "--output FRAME.png names the picture to write");
    const std::string framesText = parsed->Value("--frames", "1");
    const auto frames = ParseDecimal(framesText, 1, kMostFrames);
    if (!frames)
        return Refuse(err, "--frames must be 1 to " + std::to_string(kMostFrames) + ", not " + framesText);
    const std::string editedPath = parsed->Value("--edited", romPath);
    if (!OutputIsNoInput(
            output, {{"the ROM", romPath}, {"the state", statePath}, {"the edited ROM", editedPath}}, err))
        return kExitBadInput;

    std::vector<std::uint8_t> edited;
    const std::optional<CoreRun> run = ReadCoreRun(romPath, statePath, parsed->Value("--core"), err);
    if (!run || !ReadInputFile(editedPath, "the edited ROM", edited, err)) return kExitBadInput;
    const SearchResult found = *SearchPalettes(run->rom, run->capture.colors, SearchOptions{});
    const PreviewMapping mapping = MapCaptureToRom(found);
    const auto answer =
        AskHost(LoadOf(*run, std::move(edited), mapping.colors),
                *frames > 1 ? std::optional<PreviewMessage>(DrawMessage{*frames}) : std::nullopt);
    if (!answer) return Refuse(err, PreviewStoppedText(answer.Reason()));
    const FrameMessage& frame = *answer->frame;
    if (!WriteOutputFile(output, EncodePng(frame), err)) return kExitBadInput;
    out << "Wrote " << output << " (" << frame.width << " x " << frame.height << "): " << mapping.status
        << '\n';
    return kExitDone;
}

int RunLive(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    std::string error;
    const auto parsed = CommandArguments::Parse(arguments, {"--frames", "--press", "--core"},
                                                {"--json", "--from-power-on"}, error);
    if (!parsed) return Refuse(err, error);
    if (parsed->Positional().size() != 2) return Refuse(err, "expected ROM STATE (see --help)");
    const std::string& romPath = parsed->Positional()[0];
    const std::string& statePath = parsed->Positional()[1];
    const std::string framesText = parsed->Value("--frames", std::to_string(kLiveFrames));
    const auto frames = ParseDecimal(framesText, 1, kMostFrames);
    if (!frames)
        return Refuse(err, "--frames must be 1 to " + std::to_string(kMostFrames) + ", not " + framesText);
    std::vector<LivePress> presses;
    for (const std::string& text : parsed->Values("--press")) {
        const Result<LivePress> press = ParseLivePress(text);
        if (!press) return Refuse(err, press.Reason());
        presses.push_back(*press);
    }

    const std::optional<CoreRun> run = ReadCoreRun(romPath, statePath, parsed->Value("--core"), err);
    if (!run) return kExitBadInput;
    const std::vector<PaletteHit> candidates =
        LiveCandidates(*SearchPalettes(run->rom, run->capture.colors, SearchOptions{}));
    if (candidates.empty()) {
        err << "No row of " << statePath << " is stored in " << romPath
            << ", so there is nothing to tell apart.\n";
        return kExitFoundNothing;
    }
    const std::vector<std::uint16_t> buttons = LiveButtons(presses, *frames);
    const bool fromPowerOn = parsed->Has("--from-power-on");
    // The untagged run first: its colours are the ones the tags must not be.
    const auto reference = AskHost(LoadOf(*run, run->rom, {}), RunMessage{buttons, {}, fromPowerOn});
    if (!reference) return Refuse(err, PreviewStoppedText(reference.Reason()));
    std::vector<std::uint16_t> avoided = reference->trace->cgram;
    avoided.insert(avoided.end(), reference->trace->start.begin(), reference->trace->start.end());
    const Result<LiveTags> tags = TagCandidates(run->rom, candidates, avoided);
    if (!tags) return Refuse(err, tags.Reason());
    const auto tagged = AskHost(LoadOf(*run, tags->rom, {}), RunMessage{buttons, {}, fromPowerOn});
    if (!tagged) return Refuse(err, PreviewStoppedText(tagged.Reason()));

    const std::vector<LiveRow> rows = ReadLiveRows(reference->trace->start, reference->trace->cgram,
                                                   tagged->trace->cgram, candidates, *tags);
    const RomLayout layout = DetectRomLayout(run->rom);
    if (parsed->Has("--json"))
        PrintLiveJson(rows, layout, out);
    else
        PrintLiveRows(rows, layout, *frames, fromPowerOn, out);
    const bool resolved = std::any_of(
        rows.begin(), rows.end(), [](const LiveRow& row) { return row.status == LiveRow::Status::Loaded; });
    return resolved ? kExitDone : kExitFoundNothing;
}

}  // namespace tintwright
