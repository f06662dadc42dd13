#pragma once

// A libretro core loaded from its shared library and run without a screen,
// sound or input, for tests that need a save state or a frame drawn by a real
// emulator. The core's callbacks are plain C functions, so one core at a time.

#include <libretro.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tintwright::test {

// The last frame the core drew, as 0x00RRGGBB, whatever its pixel format.
struct CoreFrame {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<std::uint32_t> pixels;
};

class LibretroCore {
public:
    // Loads the core and calls retro_init; Error() says why when it failed.
    // The core's system and save folders are systemFolder.
    LibretroCore(const std::string& libraryPath, const std::string& systemFolder);
    ~LibretroCore();
    LibretroCore(const LibretroCore&) = delete;
    LibretroCore& operator=(const LibretroCore&) = delete;

    const std::string& Error() const { return error_; }

    bool LoadGame(const std::string& romPath, const std::vector<std::uint8_t>& rom);
    void RunFrames(int frames);
    // How many frames the core has handed over for display so far.
    int FramesShown() const;
    const CoreFrame& LastFrame() const;
    bool Serialize(std::vector<std::uint8_t>& state);
    bool Unserialize(const std::vector<std::uint8_t>& state);

private:
    template <typename Function>
    bool Resolve(const char* name, Function& function);
    bool ResolveAll();

    void* library_ = nullptr;
    bool initialised_ = false;
    bool gameLoaded_ = false;
    std::string error_;

    decltype(&retro_init) init_ = nullptr;
    decltype(&retro_deinit) deinit_ = nullptr;
    decltype(&retro_api_version) apiVersion_ = nullptr;
    decltype(&retro_set_environment) setEnvironment_ = nullptr;
    decltype(&retro_set_video_refresh) setVideoRefresh_ = nullptr;
    decltype(&retro_set_audio_sample) setAudioSample_ = nullptr;
    decltype(&retro_set_audio_sample_batch) setAudioSampleBatch_ = nullptr;
    decltype(&retro_set_input_poll) setInputPoll_ = nullptr;
    decltype(&retro_set_input_state) setInputState_ = nullptr;
    decltype(&retro_load_game) loadGame_ = nullptr;
    decltype(&retro_unload_game) unloadGame_ = nullptr;
    decltype(&retro_get_system_av_info) getAvInfo_ = nullptr;
    decltype(&retro_run) run_ = nullptr;
    decltype(&retro_serialize_size) serializeSize_ = nullptr;
    decltype(&retro_serialize) serialize_ = nullptr;
    decltype(&retro_unserialize) unserialize_ = nullptr;
};

}  // namespace tintwright::test
