#pragma once

// One libretro core in the host's process: the game given from memory, its
// state put in and taken out, its work RAM, and one frame at a time with the
// pad as the client says. The libretro callbacks carry no context, so there is
// one runner per process, which is all the host needs.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/Result.h"
#include "frontends/preview/HostPlatform.h"
#include "preview/PreviewProtocol.h"

namespace tintwright::host {

class LibretroRunner {
public:
    // Loads the core and the game; the reason names what failed.
    static Result<std::unique_ptr<LibretroRunner>> Start(const std::string& corePath,
                                                         std::span<const std::uint8_t> rom);
    ~LibretroRunner();
    LibretroRunner(const LibretroRunner&) = delete;
    LibretroRunner& operator=(const LibretroRunner&) = delete;

    // The game again, from changed bytes: the core keeps its own copy of the ROM.
    Result<void> Reload(std::span<const std::uint8_t> rom);
    Result<void> Unserialize(std::span<const std::uint8_t> state);
    Result<std::vector<std::uint8_t>> Serialize();
    // The game's work RAM, empty when the core does not show it.
    std::span<std::uint8_t> WorkRam();
    // One retro_run with these joypad buttons held; the frame it drew, or the
    // last one when it drew none.
    Result<FrameMessage> RunFrame(std::uint16_t buttons);

private:
    explicit LibretroRunner(Library library);
    Result<void> Resolve();
    Result<void> LoadGame(std::span<const std::uint8_t> rom);

    Library library_;
    std::vector<std::uint8_t> game_;  // the core may keep pointing into it
    bool initialised_ = false;
    bool loaded_ = false;
    std::optional<Result<FrameMessage>> lastFrame_;
    struct Calls;
    std::unique_ptr<Calls> calls_;
};

}  // namespace tintwright::host
