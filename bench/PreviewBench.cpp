// The game preview's figures, each beside the bare core doing the same work on
// the same state in the same run: an edit to its frame, the host's start, the
// game playing, and the host's memory. The state is made here, by the bare
// core running the stripe ROM, so the bench needs nothing but the core.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "capture/Capture.h"
#include "core/Process.h"
#include "finder/PaletteSearch.h"
#include "frontends/preview/LibretroRunner.h"
#include "preview/LiveRun.h"
#include "preview/PreviewMapping.h"
#include "preview/PreviewSession.h"

namespace {

using namespace tintwright;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 200;
constexpr int kPlaySeconds = 10;
constexpr double kSnesFramesPerSecond = 60.098814;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double ThreadCpuSeconds() {
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
}

// The host this process started: the child named after it.
pid_t HostPid() {
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string pid, name, state;
        pid_t parent = 0;
        if (stat >> pid >> name >> state >> parent && parent == getpid() && name == "(tintwright-prev)")
            return static_cast<pid_t>(std::stol(pid));
    }
    return 0;
}

double ProcessCpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    double ticks = 0;
    // Fields 14 and 15: user and system time, in clock ticks. The name
    // (field 2) has no blank in it here.
    for (int i = 1; i <= 15 && stat >> field; ++i)
        if (i >= 14) ticks += std::stod(field);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// "VmHWM" or "VmRSS" of pid, in MB.
double MemoryMegabytes(pid_t pid, const std::string& key) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with(key + ":")) return std::stod(line.substr(key.size() + 1)) / 1024.0;
    return 0;
}

void Row(const char* what, const std::string& figure, const std::string& beside, const char* goal, bool met) {
    std::printf("%-34s %-16s %-34s %-22s %s\n", what, figure.c_str(), beside.c_str(), goal,
                met ? "met" : "MISSED");
}

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// A bare core that fails in the middle of the bench leaves no figure to give.
template <typename T>
void Must(const Result<T>& result) {
    if (result) return;
    std::fprintf(stderr, "the bare core failed: %s\n", result.Reason().c_str());
    std::exit(1);
}

// Polls the session until the next frame arrives; false when the host stopped.
bool NextFrame(PreviewSession& session) {
    for (;;) {
        PreviewUpdate update = session.Poll(Now());
        if (update.stopped) {
            std::fprintf(stderr, "%s\n", PreviewStoppedText(*update.stopped).c_str());
            return false;
        }
        if (update.frame) return true;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

// A run of frames frames through a host of its own, from its start to the
// trace; 0 when the host stopped.
double TimedRun(const LoadMessage& load, std::uint32_t frames, std::vector<std::uint16_t>& cgram) {
    Process& process = ThisProcess();
    const auto start = Clock::now();
    auto session = PreviewSession::Start(process, PreviewHostPath(process.ExecutablePath()), load, Now());
    if (!session) return 0;
    (*session)->Send(RunMessage{std::vector<std::uint16_t>(frames, 0), {}, false}, Now());
    for (;;) {
        PreviewUpdate update = (*session)->Poll(Now());
        if (update.stopped) return 0;
        if (update.trace) cgram = std::move(update.trace->cgram);
        if ((*session)->AnswersOwed() == 0) return MillisecondsSince(start);
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

int Run(const std::string& corePath, const std::string& romPath) {
    std::ifstream romFile(romPath, std::ios::binary);
    const std::vector<std::uint8_t> rom{std::istreambuf_iterator<char>(romFile), {}};
    if (rom.empty()) {
        std::fprintf(stderr, "cannot read the stripe ROM %s\n", romPath.c_str());
        return 1;
    }

    auto bare = host::LibretroRunner::Start(corePath, rom);
    if (!bare) {
        std::fprintf(stderr, "%s\n", bare.Reason().c_str());
        return 1;
    }
    host::LibretroRunner& core = **bare;
    // The stripe ROM has drawn its rows well before two seconds.
    for (int frame = 0; frame < 120; ++frame) Must(core.RunFrame(0));
    const std::vector<std::uint8_t> state = *core.Serialize();
    const Result<Capture> capture = ReadCapture(state);
    if (!capture || !capture->coreState) {
        std::fprintf(stderr, "the bare core's state is not read back\n");
        return 1;
    }
    const PreviewMapping mapping = MapCaptureToRom(*SearchPalettes(rom, capture->colors, SearchOptions{}));
    if (mapping.colors.empty()) {
        std::fprintf(stderr, "the search found no row of the state in the ROM\n");
        return 1;
    }

    std::vector<double> bareFrames, bareReloads;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        Must(core.Unserialize(state));
        Must(core.RunFrame(0));
        bareFrames.push_back(MillisecondsSince(start));
    }
    for (int round = 0; round < 20; ++round) {
        const auto start = Clock::now();
        Must(core.Reload(rom));
        bareReloads.push_back(MillisecondsSince(start));
    }
    Must(core.Unserialize(state));
    const double bareCpuStart = ThreadCpuSeconds();
    constexpr int kBarePlayFrames = 600;
    for (int frame = 0; frame < kBarePlayFrames; ++frame) Must(core.RunFrame(0));
    const double bareShare = (ThreadCpuSeconds() - bareCpuStart) / kBarePlayFrames * kSnesFramesPerSecond;

    LoadMessage load{.corePath = corePath,
                     .rom = rom,
                     .state = capture->coreState->bytes,
                     .cgramAt = static_cast<std::uint32_t>(capture->coreState->cgramAt),
                     .cgramBigEndian = capture->coreState->cgramBigEndian,
                     .colors = mapping.colors};
    Process& process = ThisProcess();
    const auto started = Clock::now();
    auto session = PreviewSession::Start(process, PreviewHostPath(process.ExecutablePath()), load, Now());
    if (!session) {
        std::fprintf(stderr, "%s\n", session.Reason().c_str());
        return 1;
    }
    PreviewSession& preview = **session;
    if (!NextFrame(preview)) return 1;
    const double firstFrame = MillisecondsSince(started);
    const pid_t host = HostPid();

    // Each round edits the first mapped word, as Apply does, and waits for the
    // frame that shows it.
    const std::uint32_t offset = mapping.colors.front().romOffset;
    std::vector<double> edits;
    for (int round = 0; round < kRounds; ++round) {
        load.rom[offset] ^= 0x1F;
        const auto start = Clock::now();
        preview.Send(RomChangedMessage{.offset = offset, .bytes = {load.rom[offset], load.rom[offset + 1]}},
                     Now());
        preview.Send(DrawMessage{1}, Now());
        if (!NextFrame(preview)) return 1;
        edits.push_back(MillisecondsSince(start));
    }

    const double hostCpuStart = ProcessCpuSeconds(host);
    preview.Send(PlayMessage{true}, Now());
    const auto playStart = Clock::now();
    int played = 0;
    while (MillisecondsSince(playStart) < kPlaySeconds * 1000.0) {
        if (!NextFrame(preview)) return 1;
        ++played;
    }
    const double playSeconds = MillisecondsSince(playStart) / 1000.0;
    const double hostShare = (ProcessCpuSeconds(host) - hostCpuStart) / playSeconds;
    const double framesPerSecond = played / playSeconds;
    const double peakMemory = MemoryMegabytes(host, "VmHWM");

    // The tagging run beside the untagged one, each from a host's start.
    constexpr std::uint32_t kLiveFrames = 600;
    const std::vector<PaletteHit> candidates =
        LiveCandidates(*SearchPalettes(rom, capture->colors, SearchOptions{}));
    LoadMessage untagged = load;
    untagged.rom = rom;
    untagged.colors = {};
    std::vector<std::uint16_t> reference, tagged;
    const double plainRun = TimedRun(untagged, kLiveFrames, reference);
    const Result<LiveTags> tags = TagCandidates(rom, candidates, reference);
    LoadMessage tagging = untagged;
    tagging.rom = tags ? tags->rom : rom;
    const double tagRun = TimedRun(tagging, kLiveFrames, tagged);

    const double bareFrame = Median(bareFrames);
    const double edit = Median(edits);
    std::printf("Game preview: %s on %s, %d rounds\n", std::filesystem::path(corePath).filename().c_str(),
                std::filesystem::path(romPath).filename().c_str(), kRounds);
    Row("edit to frame (median)", Format("%.2f ms", edit),
        Format("bare unserialize + run %.2f ms", bareFrame) + Format(" (%.1fx)", edit / bareFrame),
        "< 16 ms, < 4x bare", edit < 16 && edit < 4 * bareFrame);
    Row("", "", Format("bare reload of the game %.2f ms", Median(bareReloads)), "", true);
    Row("host start to first frame", Format("%.0f ms", firstFrame), "", "< 300 ms", firstFrame < 300);
    Row("play", Format("%.2f fps", framesPerSecond),
        Format("host CPU %.0f %%", hostShare * 100) + Format(", bare core %.0f %%", bareShare * 100),
        ">= 59.5 fps", framesPerSecond >= 59.5);
    Row("tagging run of 600 frames", Format("%.0f ms", tagRun),
        Format("untagged %.0f ms", plainRun) + Format(" (%.2fx), ", tagRun / plainRun) +
            std::to_string(candidates.size()) + " candidates",
        "< 3 s, < 1.5x untagged",
        tags && plainRun > 0 && tagRun > 0 && tagRun < 3000 && tagRun < 1.5 * plainRun);
    Row("host resident memory (peak)", Format("%.0f MB", peakMemory), "", "< 150 MB",
        peakMemory > 0 && peakMemory < 150);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string core = argc > 1 ? argv[1] : TINTWRIGHT_BENCH_CORE;
    const std::string rom = argc > 2 ? argv[2] : TINTWRIGHT_BENCH_ROM;
    if (!std::filesystem::exists(core)) {
        std::printf("Game preview: skipped, no core at %s\n", core.c_str());
        return 0;
    }
    return Run(core, rom);
}
