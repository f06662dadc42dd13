#include "tests/emulators/libretro/LibretroCore.h"

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace tintwright::test {

namespace {

// What the callbacks need; the libretro API gives them no context pointer.
std::string systemFolder;
int framesShown = 0;
retro_pixel_format pixelFormat = RETRO_PIXEL_FORMAT_0RGB1555;  // until the core asks for another
CoreFrame lastFrame;

void LogToStandardError(enum retro_log_level level, const char* format, ...) {
    if (level < RETRO_LOG_WARN) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
}

bool Environment(unsigned command, void* data) {
    switch (command) {
        case RETRO_ENVIRONMENT_GET_SYSTEM_DIRECTORY:
        case RETRO_ENVIRONMENT_GET_SAVE_DIRECTORY:
            *static_cast<const char**>(data) = systemFolder.c_str();
            return true;
        case RETRO_ENVIRONMENT_GET_LOG_INTERFACE:
            static_cast<retro_log_callback*>(data)->log = LogToStandardError;
            return true;
        case RETRO_ENVIRONMENT_GET_CAN_DUPE:
            *static_cast<bool*>(data) = true;
            return true;
        case RETRO_ENVIRONMENT_SET_PIXEL_FORMAT: {
            const retro_pixel_format format = *static_cast<const retro_pixel_format*>(data);
            if (format > RETRO_PIXEL_FORMAT_RGB565) return false;
            pixelFormat = format;
            return true;
        }
        default:
            return false;
    }
}

// A channel of 5 or 6 bits widened to 8 by repeating its high bits.
std::uint32_t Widened(std::uint32_t value, int bits) {
    return (value << (8 - bits)) | (value >> (2 * bits - 8));
}

std::uint32_t PixelAt(const std::uint8_t* line, unsigned x) {
    if (pixelFormat == RETRO_PIXEL_FORMAT_XRGB8888) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, line + 4 * x, 4);
        return pixel & 0xFFFFFF;
    }
    std::uint16_t pixel = 0;
    std::memcpy(&pixel, line + 2 * x, 2);
    if (pixelFormat == RETRO_PIXEL_FORMAT_RGB565)
        return Widened(pixel >> 11, 5) << 16 | Widened((pixel >> 5) & 63, 6) << 8 | Widened(pixel & 31, 5);
    return Widened((pixel >> 10) & 31, 5) << 16 | Widened((pixel >> 5) & 31, 5) << 8 | Widened(pixel & 31, 5);
}

void VideoRefresh(const void* data, unsigned width, unsigned height, std::size_t pitch) {
    ++framesShown;
    if (data == nullptr) return;  // the frame before, shown again
    lastFrame.width = width;
    lastFrame.height = height;
    lastFrame.pixels.resize(std::size_t{width} * height);
    for (unsigned y = 0; y < height; ++y) {
        const std::uint8_t* line = static_cast<const std::uint8_t*>(data) + y * pitch;
        for (unsigned x = 0; x < width; ++x) lastFrame.pixels[y * width + x] = PixelAt(line, x);
    }
}
void AudioSample(std::int16_t, std::int16_t) {}
std::size_t AudioSampleBatch(const std::int16_t*, std::size_t frames) {
    return frames;
}
void InputPoll() {}
std::int16_t InputState(unsigned, unsigned, unsigned, unsigned) {
    return 0;
}

}  // namespace

LibretroCore::LibretroCore(const std::string& libraryPath, const std::string& folder) {
    systemFolder = folder;
    framesShown = 0;
    pixelFormat = RETRO_PIXEL_FORMAT_0RGB1555;
    lastFrame = {};
    library_ = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) {
        error_ = dlerror();
        return;
    }
    if (!ResolveAll()) return;
    if (apiVersion_() != RETRO_API_VERSION) {
        error_ = "the core speaks libretro API " + std::to_string(apiVersion_());
        return;
    }
    setEnvironment_(Environment);
    setVideoRefresh_(VideoRefresh);
    setAudioSample_(AudioSample);
    setAudioSampleBatch_(AudioSampleBatch);
    setInputPoll_(InputPoll);
    setInputState_(InputState);
    init_();
    initialised_ = true;
}

LibretroCore::~LibretroCore() {
    if (gameLoaded_) unloadGame_();
    if (initialised_) deinit_();
    if (library_ != nullptr) dlclose(library_);
}

template <typename Function>
bool LibretroCore::Resolve(const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library_, name));
    if (function == nullptr) error_ = std::string("the core has no ") + name;
    return function != nullptr;
}

bool LibretroCore::ResolveAll() {
    return Resolve("retro_init", init_) && Resolve("retro_deinit", deinit_) &&
           Resolve("retro_api_version", apiVersion_) && Resolve("retro_set_environment", setEnvironment_) &&
           Resolve("retro_set_video_refresh", setVideoRefresh_) &&
           Resolve("retro_set_audio_sample", setAudioSample_) &&
           Resolve("retro_set_audio_sample_batch", setAudioSampleBatch_) &&
           Resolve("retro_set_input_poll", setInputPoll_) &&
           Resolve("retro_set_input_state", setInputState_) && Resolve("retro_load_game", loadGame_) &&
           Resolve("retro_unload_game", unloadGame_) && Resolve("retro_get_system_av_info", getAvInfo_) &&
           Resolve("retro_run", run_) && Resolve("retro_serialize_size", serializeSize_) &&
           Resolve("retro_serialize", serialize_) && Resolve("retro_unserialize", unserialize_);
}

bool LibretroCore::LoadGame(const std::string& romPath, const std::vector<std::uint8_t>& rom) {
    if (!initialised_) return false;
    retro_game_info game{};
    game.path = romPath.c_str();
    game.data = rom.data();
    game.size = rom.size();
    gameLoaded_ = loadGame_(&game);
    if (!gameLoaded_) {
        error_ = "the core did not load " + romPath;
        return false;
    }
    // Frontends ask for the frame's geometry after loading, and some cores
    // choose their pixel format only then (bsnes-mercury does).
    retro_system_av_info info{};
    getAvInfo_(&info);
    return true;
}

void LibretroCore::RunFrames(int frames) {
    for (int frame = 0; frame < frames && gameLoaded_; ++frame) run_();
}

int LibretroCore::FramesShown() const {
    return framesShown;
}

const CoreFrame& LibretroCore::LastFrame() const {
    return lastFrame;
}

bool LibretroCore::Serialize(std::vector<std::uint8_t>& state) {
    if (!gameLoaded_) return false;
    state.assign(serializeSize_(), 0);
    if (state.empty() || !serialize_(state.data(), state.size())) {
        error_ = "the core wrote no save state";
        return false;
    }
    return true;
}

bool LibretroCore::Unserialize(const std::vector<std::uint8_t>& state) {
    if (!gameLoaded_) return false;
    if (!unserialize_(state.data(), state.size())) {
        error_ = "the core refused the save state";
        return false;
    }
    return true;
}

}  // namespace tintwright::test
