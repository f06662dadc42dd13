#include "frontends/console/PreviewCommand.h"

#include <chrono>
#include <ostream>

#include "capture/Capture.h"
#include "core/Process.h"
#include "finder/PaletteSearch.h"
#include "frontends/console/CommandArguments.h"
#include "frontends/console/PngImage.h"
#include "preview/PreviewCore.h"
#include "preview/PreviewMapping.h"
#include "preview/PreviewSession.h"

namespace tintwright {
namespace {

constexpr std::uint32_t kMostFrames = 36000;  // ten minutes of the game

std::int64_t Milliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The host's frame after the frames asked for, or why there is none.
Result<FrameMessage> DrawThroughHost(const LoadMessage& load, std::uint32_t frames) {
    Process& process = ThisProcess();
    auto session =
        PreviewSession::Start(process, PreviewHostPath(process.ExecutablePath()), load, Milliseconds());
    if (!session) return Result<FrameMessage>::Failed(session.Reason());
    if (frames > 1) (*session)->Send(DrawMessage{frames}, Milliseconds());
    int framesToCome = frames > 1 ? 2 : 1;
    for (;;) {
        PreviewUpdate update = (*session)->Poll(Milliseconds());
        if (update.stopped) return Result<FrameMessage>::Failed(*update.stopped);
        if (update.frame && --framesToCome == 0) return std::move(*update.frame);
        process.Sleep(1);
    }
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

    std::vector<std::uint8_t> rom, stateBytes, edited;
    if (!ReadInputFile(romPath, "the ROM", rom, err) ||
        !ReadInputFile(statePath, "the state", stateBytes, err) ||
        !ReadInputFile(editedPath, "the edited ROM", edited, err))
        return kExitBadInput;
    const Result<Capture> capture = ReadCapture(stateBytes);
    if (!capture) return Refuse(err, statePath + ": " + capture.Reason());
    if (!capture->coreState)
        return Refuse(err,
                      statePath + ": a " + capture->format +
                          " cannot be run by a libretro core; states of RetroArch, bsnes-mercury, higan, "
                          "bsnes and snes9x can");
    const CoreState& state = *capture->coreState;
    const Result<std::string> core =
        ChoosePreviewCore({.setting = parsed->Value("--core"),
                           .emulator = state.emulator,
                           .windows = IsWindowsExecutable(ThisProcess().ExecutablePath()),
                           .howToName = "--core CORE",
                           .libretroFolders = DebianLibretroFolders(),
                           .exists = [](const std::string& path) {
                               return Files().Status(path).kind == PathStatus::Kind::File;
                           }});
    if (!core) return Refuse(err, core.Reason());

    const SearchResult found = *SearchPalettes(rom, capture->colors, SearchOptions{});
    const PreviewMapping mapping = MapCaptureToRom(found);
    LoadMessage load{.corePath = *core,
                     .rom = std::move(edited),
                     .state = state.bytes,
                     .cgramAt = static_cast<std::uint32_t>(state.cgramAt),
                     .cgramBigEndian = state.cgramBigEndian,
                     .colors = mapping.colors};
    const Result<FrameMessage> frame = DrawThroughHost(load, *frames);
    if (!frame) return Refuse(err, PreviewStoppedText(frame.Reason()));
    if (!WriteOutputFile(output, EncodePng(*frame), err)) return kExitBadInput;
    out << "Wrote " << output << " (" << frame->width << " x " << frame->height << "): " << mapping.status
        << '\n';
    return kExitDone;
}

}  // namespace tintwright
