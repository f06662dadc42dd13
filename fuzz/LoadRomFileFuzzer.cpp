// LoadRomFile on files of random bytes: it reads every byte of the file, gives
// its size, and keeps one zero byte after it.

#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/RomImage.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintwright;
    const auto path = fuzz::ScratchFolder::Path() / "rom.smc";
    fuzz::WriteFileBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));

    const auto loaded = LoadRomFile(path.string());
    FUZZ_REQUIRE(loaded);
    FUZZ_REQUIRE(loaded->size == size);
    FUZZ_REQUIRE(loaded->bytes.size() == size + 1);
    FUZZ_REQUIRE(size == 0 || std::memcmp(loaded->bytes.data(), data, size) == 0);
    FUZZ_REQUIRE(loaded->bytes[size] == 0);
    return 0;
}
