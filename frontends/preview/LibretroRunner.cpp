#include "frontends/preview/LibretroRunner.h"

#include <libretro.h>

#include <cstdarg>
#include <cstdio>
#include <optional>

#include "preview/PreviewFrame.h"

namespace tintwright::host {

struct LibretroRunner::Calls {
    decltype(&retro_init) init = nullptr;
    decltype(&retro_deinit) deinit = nullptr;
    decltype(&retro_api_version) apiVersion = nullptr;
    decltype(&retro_set_environment) setEnvironment = nullptr;
    decltype(&retro_set_video_refresh) setVideoRefresh = nullptr;
    decltype(&retro_set_audio_sample) setAudioSample = nullptr;
    decltype(&retro_set_audio_sample_batch) setAudioSampleBatch = nullptr;
    decltype(&retro_set_input_poll) setInputPoll = nullptr;
    decltype(&retro_set_input_state) setInputState = nullptr;
    decltype(&retro_load_game) loadGame = nullptr;
    decltype(&retro_unload_game) unloadGame = nullptr;
    decltype(&retro_run) run = nullptr;
    decltype(&retro_serialize_size) serializeSize = nullptr;
    decltype(&retro_serialize) serialize = nullptr;
    decltype(&retro_unserialize) unserialize = nullptr;
    decltype(&retro_get_memory_data) memoryData = nullptr;
    decltype(&retro_get_memory_size) memorySize = nullptr;
    decltype(&retro_get_system_av_info) avInfo = nullptr;
};

namespace {

// What the callbacks share with the runner; see the header.
CorePixelFormat pixelFormat = CorePixelFormat::Rgb1555;
std::uint16_t buttonsHeld = 0;
std::optional<Result<FrameMessage>> drawn;

void LogToStandardError(enum retro_log_level level, const char* format, ...) {
    if (level < RETRO_LOG_WARN) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
}

bool Environment(unsigned command, void* data) {
    switch (command) {
        case RETRO_ENVIRONMENT_GET_LOG_INTERFACE:
            static_cast<retro_log_callback*>(data)->log = LogToStandardError;
            return true;
        case RETRO_ENVIRONMENT_GET_CAN_DUPE:
            *static_cast<bool*>(data) = true;
            return true;
        case RETRO_ENVIRONMENT_SET_PIXEL_FORMAT: {
            const auto format = *static_cast<const retro_pixel_format*>(data);
            if (format != RETRO_PIXEL_FORMAT_0RGB1555 && format != RETRO_PIXEL_FORMAT_XRGB8888 &&
                format != RETRO_PIXEL_FORMAT_RGB565)
                return false;
            pixelFormat = static_cast<CorePixelFormat>(format);
            return true;
        }
        default:
            return false;
    }
}

void VideoRefresh(const void* data, unsigned width, unsigned height, std::size_t pitch) {
    if (data == nullptr) return;  // the same frame again
    const std::size_t pixelBytes = pixelFormat == CorePixelFormat::Xrgb8888 ? 4 : 2;
    const std::size_t size = height == 0 ? 0 : (height - 1) * pitch + width * pixelBytes;
    drawn = NormaliseFrame({static_cast<const std::uint8_t*>(data), size}, static_cast<int>(width),
                           static_cast<int>(height), pitch, pixelFormat);
}

void AudioSample(std::int16_t, std::int16_t) {}
std::size_t AudioSampleBatch(const std::int16_t*, std::size_t frames) {
    return frames;
}
void InputPoll() {}
std::int16_t InputState(unsigned port, unsigned device, unsigned, unsigned id) {
    if (port != 0 || device != RETRO_DEVICE_JOYPAD || id > RETRO_DEVICE_ID_JOYPAD_R3) return 0;
    return (buttonsHeld >> id & 1) != 0 ? 1 : 0;
}

template <typename Function>
bool Find(const Library& library, const char* name, Function& function, std::string& missing) {
    function = reinterpret_cast<Function>(library.Symbol(name));
    if (function == nullptr && missing.empty()) missing = name;
    return function != nullptr;
}

}  // namespace

LibretroRunner::LibretroRunner(Library library) : library_(std::move(library)) {}

Result<std::unique_ptr<LibretroRunner>> LibretroRunner::Start(const std::string& corePath,
                                                              std::span<const std::uint8_t> rom) {
    using Started = Result<std::unique_ptr<LibretroRunner>>;
    auto library = Library::Open(corePath);
    if (!library) return Started::Failed("cannot load the core " + corePath + ": " + library.Reason());
    std::unique_ptr<LibretroRunner> runner(new LibretroRunner(std::move(library.Value())));
    if (const Result<void> resolved = runner->Resolve(); !resolved)
        return Started::Failed(corePath + " " + resolved.Reason());
    if (const Result<void> loaded = runner->LoadGame(rom); !loaded) return Started::Failed(loaded.Reason());
    return Started(std::move(runner));
}

Result<void> LibretroRunner::Resolve() {
    calls_ = std::make_unique<Calls>();
    Calls& c = *calls_;
    const Library& l = library_;
    std::string missing;
    Find(l, "retro_init", c.init, missing), Find(l, "retro_deinit", c.deinit, missing);
    Find(l, "retro_api_version", c.apiVersion, missing);
    Find(l, "retro_set_environment", c.setEnvironment, missing);
    Find(l, "retro_set_video_refresh", c.setVideoRefresh, missing);
    Find(l, "retro_set_audio_sample", c.setAudioSample, missing);
    Find(l, "retro_set_audio_sample_batch", c.setAudioSampleBatch, missing);
    Find(l, "retro_set_input_poll", c.setInputPoll, missing);
    Find(l, "retro_set_input_state", c.setInputState, missing);
    Find(l, "retro_load_game", c.loadGame, missing), Find(l, "retro_unload_game", c.unloadGame, missing);
    Find(l, "retro_run", c.run, missing), Find(l, "retro_serialize_size", c.serializeSize, missing);
    Find(l, "retro_serialize", c.serialize, missing), Find(l, "retro_unserialize", c.unserialize, missing);
    Find(l, "retro_get_memory_data", c.memoryData, missing);
    Find(l, "retro_get_memory_size", c.memorySize, missing);
    Find(l, "retro_get_system_av_info", c.avInfo, missing);
    if (!missing.empty()) return Result<void>::Failed("is no libretro core: it has no " + missing);
    if (c.apiVersion() != RETRO_API_VERSION)
        return Result<void>::Failed("speaks libretro API " + std::to_string(c.apiVersion()) + ", not " +
                                    std::to_string(RETRO_API_VERSION));
    c.setEnvironment(Environment);
    c.setVideoRefresh(VideoRefresh);
    c.setAudioSample(AudioSample);
    c.setAudioSampleBatch(AudioSampleBatch);
    c.setInputPoll(InputPoll);
    c.setInputState(InputState);
    c.init();
    initialised_ = true;
    return Result<void>::Done();
}

Result<void> LibretroRunner::LoadGame(std::span<const std::uint8_t> rom) {
    game_.assign(rom.begin(), rom.end());
    retro_game_info game{};
    // A name only: the core takes the bytes, and nothing is read from or
    // written beside a file of this name.
    game.path = "tintwright-preview.sfc";
    game.data = game_.data();
    game.size = game_.size();
    loaded_ = calls_->loadGame(&game);
    if (!loaded_) return Result<void>::Failed("the core did not take the ROM");
    // Some cores (bsnes-mercury) choose their pixel format only when asked this.
    retro_system_av_info info{};
    calls_->avInfo(&info);
    return Result<void>::Done();
}

LibretroRunner::~LibretroRunner() {
    if (loaded_) calls_->unloadGame();
    if (initialised_) calls_->deinit();
}

Result<void> LibretroRunner::Reload(std::span<const std::uint8_t> rom) {
    if (loaded_) calls_->unloadGame();
    loaded_ = false;
    return LoadGame(rom);
}

Result<void> LibretroRunner::Unserialize(std::span<const std::uint8_t> state) {
    // The core reads its state's size from its own layout, so a state of
    // another size (another profile, another version) is not handed to it.
    const std::size_t expected = calls_->serializeSize();
    if (state.size() != expected)
        return Result<void>::Failed("the core's save states are " + std::to_string(expected) +
                                    " bytes, this one is " + std::to_string(state.size()) +
                                    " (a state of another profile or version)");
    if (!calls_->unserialize(state.data(), state.size()))
        return Result<void>::Failed("the core did not take the save state");
    return Result<void>::Done();
}

Result<std::vector<std::uint8_t>> LibretroRunner::Serialize() {
    std::vector<std::uint8_t> state(calls_->serializeSize());
    if (state.empty() || !calls_->serialize(state.data(), state.size()))
        return Result<std::vector<std::uint8_t>>::Failed("the core wrote no save state");
    return state;
}

std::span<std::uint8_t> LibretroRunner::WorkRam() {
    auto* data = static_cast<std::uint8_t*>(calls_->memoryData(RETRO_MEMORY_SYSTEM_RAM));
    const std::size_t size = calls_->memorySize(RETRO_MEMORY_SYSTEM_RAM);
    return data == nullptr ? std::span<std::uint8_t>{} : std::span<std::uint8_t>(data, size);
}

Result<FrameMessage> LibretroRunner::RunFrame(std::uint16_t buttons) {
    buttonsHeld = buttons;
    drawn.reset();
    calls_->run();
    if (drawn) lastFrame_ = std::move(*drawn);
    if (!lastFrame_) return Result<FrameMessage>::Failed("the core drew no frame");
    return *lastFrame_;
}

}  // namespace tintwright::host
