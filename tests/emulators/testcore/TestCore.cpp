// A libretro core of our own for the game preview's tests, small enough to
// build for every target (a shared library here, a DLL for 32- and 64-bit
// Windows) and to know exactly what it draws. It acts like a game that keeps
// its palette in work RAM and uploads it to CGRAM in every vertical blank:
// at load, CGRAM and the first 512 bytes of WRAM are the ROM's first 512
// bytes (little-endian words); each retro_run copies those WRAM bytes into
// CGRAM and draws CGRAM as 16 × 16 blocks of 16 × 14 pixels, colour i in
// block column i % 16 and band i / 16. While Start is held it loads the
// palette from the ROM again, as a game entering a new room. Its state is a
// minimal snes9x freeze file, a PPU block with CGRAM at CGDATA's offset and a
// RAM block with WRAM.
//
// Built once as it is and once for each fault the preview must survive:
// TEST_CORE_CRASH writes through a null pointer in retro_unserialize,
// TEST_CORE_HANG never returns from retro_run, TEST_CORE_EXIT ends the
// process from retro_run with exit status 3.

#include <libretro.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr unsigned kWidth = 256;
constexpr unsigned kHeight = 224;
constexpr unsigned kBlockWidth = kWidth / 16;
constexpr unsigned kBlockHeight = kHeight / 16;
constexpr std::size_t kCgramWords = 256;
constexpr std::size_t kPaletteBytes = 2 * kCgramWords;
constexpr std::size_t kWramBytes = 128 * 1024;

// The snes9x freeze format as our reader takes it: the version line, then
// blocks of a 3-letter name, ':', six decimal digits of size and ':'. In
// version 11 CGDATA stands 64 bytes into the PPU block, each word high byte
// first; the bytes before it are left zero.
constexpr char kVersionLine[] = "#!s9xsnp:0011\n";
constexpr std::size_t kCgdataAt = 64;
constexpr std::size_t kPpuBytes = kCgdataAt + kPaletteBytes;
constexpr char kPpuHeader[] = "PPU:000576:";
constexpr char kRamHeader[] = "RAM:131072:";
constexpr std::size_t kHeaderBytes = sizeof kPpuHeader - 1;
constexpr std::size_t kPpuAt = sizeof kVersionLine - 1;
constexpr std::size_t kRamAt = kPpuAt + kHeaderBytes + kPpuBytes;
constexpr std::size_t kStateBytes = kRamAt + kHeaderBytes + kWramBytes;
static_assert(kPpuBytes == 576 && kWramBytes == 131072, "the block headers spell these sizes");

retro_environment_t environment = nullptr;
retro_video_refresh_t videoRefresh = nullptr;
retro_input_poll_t inputPoll = nullptr;
retro_input_state_t inputState = nullptr;

std::uint8_t romPalette[kPaletteBytes];
std::uint16_t cgram[kCgramWords];
std::uint8_t wram[kWramBytes];
std::uint32_t frame[kWidth * kHeight];
bool loaded = false;

void LoadPaletteFromRom() {
    std::memset(wram, 0, sizeof wram);
    std::memcpy(wram, romPalette, kPaletteBytes);
    for (std::size_t i = 0; i < kCgramWords; ++i)
        cgram[i] = static_cast<std::uint16_t>(romPalette[2 * i] | romPalette[2 * i + 1] << 8);
}

std::uint32_t Widened(unsigned channel) {
    return (channel << 3) | (channel >> 2);
}

std::uint32_t ToXrgb8888(std::uint16_t word) {
    return Widened(word & 31) << 16 | Widened((word >> 5) & 31) << 8 | Widened((word >> 10) & 31);
}

void DrawCgram() {
    for (unsigned y = 0; y < kHeight; ++y) {
        for (unsigned x = 0; x < kWidth; ++x)
            frame[y * kWidth + x] = ToXrgb8888(cgram[(y / kBlockHeight) * 16 + x / kBlockWidth]);
    }
}

#if defined(TEST_CORE_HANG)
[[noreturn]] void RunForever() {
    volatile bool running = true;  // a loop the compiler may not remove
    while (running) {
    }
    std::abort();
}
#endif

}  // namespace

unsigned retro_api_version() {
    return RETRO_API_VERSION;
}

void retro_set_environment(retro_environment_t callback) {
    environment = callback;
}
void retro_set_video_refresh(retro_video_refresh_t callback) {
    videoRefresh = callback;
}
void retro_set_audio_sample(retro_audio_sample_t) {}
void retro_set_audio_sample_batch(retro_audio_sample_batch_t) {}
void retro_set_input_poll(retro_input_poll_t callback) {
    inputPoll = callback;
}
void retro_set_input_state(retro_input_state_t callback) {
    inputState = callback;
}

void retro_init() {}
void retro_deinit() {}

void retro_get_system_info(retro_system_info* info) {
    std::memset(info, 0, sizeof *info);
    info->library_name = "Tintwright test core";
    info->library_version = "1";
    info->valid_extensions = "sfc|smc";
    info->need_fullpath = false;
}

void retro_get_system_av_info(retro_system_av_info* info) {
    std::memset(info, 0, sizeof *info);
    info->geometry.base_width = info->geometry.max_width = kWidth;
    info->geometry.base_height = info->geometry.max_height = kHeight;
    info->geometry.aspect_ratio = 4.0f / 3.0f;
    info->timing.fps = 60.0;
    info->timing.sample_rate = 32040.0;
}

void retro_set_controller_port_device(unsigned, unsigned) {}

void retro_reset() {
    LoadPaletteFromRom();
}

// The game comes from memory; a frontend that cannot take XRGB8888 or a ROM
// shorter than a palette is refused.
bool retro_load_game(const retro_game_info* game) {
    if (game == nullptr || game->data == nullptr || game->size < kPaletteBytes || environment == nullptr)
        return false;
    retro_pixel_format format = RETRO_PIXEL_FORMAT_XRGB8888;
    if (!environment(RETRO_ENVIRONMENT_SET_PIXEL_FORMAT, &format)) return false;
    std::memcpy(romPalette, game->data, kPaletteBytes);
    LoadPaletteFromRom();
    loaded = true;
    return true;
}

bool retro_load_game_special(unsigned, const retro_game_info*, std::size_t) {
    return false;
}

void retro_unload_game() {
    loaded = false;
}

unsigned retro_get_region() {
    return RETRO_REGION_NTSC;
}

void retro_run() {
#if defined(TEST_CORE_HANG)
    RunForever();
#elif defined(TEST_CORE_EXIT)
    std::exit(3);
#endif
    if (inputPoll != nullptr) inputPoll();
    if (inputState != nullptr && inputState(0, RETRO_DEVICE_JOYPAD, 0, RETRO_DEVICE_ID_JOYPAD_START) != 0)
        LoadPaletteFromRom();
    for (std::size_t i = 0; i < kCgramWords; ++i)
        cgram[i] = static_cast<std::uint16_t>(wram[2 * i] | wram[2 * i + 1] << 8);
    DrawCgram();
    if (videoRefresh != nullptr) videoRefresh(frame, kWidth, kHeight, kWidth * sizeof frame[0]);
}

std::size_t retro_serialize_size() {
    return kStateBytes;
}

bool retro_serialize(void* data, std::size_t size) {
    if (!loaded || data == nullptr || size < kStateBytes) return false;
    auto* state = static_cast<std::uint8_t*>(data);
    std::memset(state, 0, kStateBytes);
    std::memcpy(state, kVersionLine, kPpuAt);
    std::memcpy(state + kPpuAt, kPpuHeader, kHeaderBytes);
    std::uint8_t* cgdata = state + kPpuAt + kHeaderBytes + kCgdataAt;
    for (std::size_t i = 0; i < kCgramWords; ++i) {
        cgdata[2 * i] = static_cast<std::uint8_t>(cgram[i] >> 8);
        cgdata[2 * i + 1] = static_cast<std::uint8_t>(cgram[i]);
    }
    std::memcpy(state + kRamAt, kRamHeader, kHeaderBytes);
    std::memcpy(state + kRamAt + kHeaderBytes, wram, kWramBytes);
    return true;
}

// Takes back exactly what retro_serialize writes: the size, the version line
// and both block headers must match, or nothing changes.
bool retro_unserialize(const void* data, std::size_t size) {
#if defined(TEST_CORE_CRASH)
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
#endif
    const auto* state = static_cast<const std::uint8_t*>(data);
    if (!loaded || state == nullptr || size != kStateBytes || std::memcmp(state, kVersionLine, kPpuAt) != 0 ||
        std::memcmp(state + kPpuAt, kPpuHeader, kHeaderBytes) != 0 ||
        std::memcmp(state + kRamAt, kRamHeader, kHeaderBytes) != 0)
        return false;
    const std::uint8_t* cgdata = state + kPpuAt + kHeaderBytes + kCgdataAt;
    for (std::size_t i = 0; i < kCgramWords; ++i)
        cgram[i] = static_cast<std::uint16_t>(cgdata[2 * i] << 8 | cgdata[2 * i + 1]);
    std::memcpy(wram, state + kRamAt + kHeaderBytes, kWramBytes);
    return true;
}

void retro_cheat_reset() {}
void retro_cheat_set(unsigned, bool, const char*) {}

void* retro_get_memory_data(unsigned id) {
    return id == RETRO_MEMORY_SYSTEM_RAM ? wram : nullptr;
}

std::size_t retro_get_memory_size(unsigned id) {
    return id == RETRO_MEMORY_SYSTEM_RAM ? kWramBytes : 0;
}
