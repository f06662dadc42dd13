#include "tests/emulators/libretro/LibretroCore.h"

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>

namespace tintwright::test {

namespace {

// What the callbacks need; the libretro API gives them no context pointer.
std::string systemFolder;
int framesShown = 0;

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
        case RETRO_ENVIRONMENT_SET_PIXEL_FORMAT:
            return true;  // nothing is drawn, so any format will do
        default:
            return false;
    }
}

void VideoRefresh(const void*, unsigned, unsigned, std::size_t) {
    ++framesShown;
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
           Resolve("retro_unload_game", unloadGame_) && Resolve("retro_run", run_) &&
           Resolve("retro_serialize_size", serializeSize_) && Resolve("retro_serialize", serialize_);
}

bool LibretroCore::LoadGame(const std::string& romPath, const std::vector<std::uint8_t>& rom) {
    if (!initialised_) return false;
    retro_game_info game{};
    game.path = romPath.c_str();
    game.data = rom.data();
    game.size = rom.size();
    gameLoaded_ = loadGame_(&game);
    if (!gameLoaded_) error_ = "the core did not load " + romPath;
    return gameLoaded_;
}

void LibretroCore::RunFrames(int frames) {
    for (int frame = 0; frame < frames && gameLoaded_; ++frame) run_();
}

int LibretroCore::FramesShown() const {
    return framesShown;
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

}  // namespace tintwright::test
