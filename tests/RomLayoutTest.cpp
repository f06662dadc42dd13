#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "finder/RomLayout.h"

namespace tintwright {
namespace {

struct InternalHeader {
    std::size_t place;  // in the ROM without a copier header
    std::uint8_t mode;
    bool checksumPair;
    std::uint16_t reset;
};

std::vector<std::uint8_t> RomImage(std::size_t bytes, std::size_t copierHeader,
                                   const std::vector<InternalHeader>& headers) {
    std::vector<std::uint8_t> rom(copierHeader + bytes, 0);
    for (const InternalHeader& header : headers) {
        std::uint8_t* at = rom.data() + copierHeader + header.place;
        at[0x15] = header.mode;
        const std::uint16_t checksum = 0x1234, complement = header.checksumPair ? 0xEDCB : 0x1111;
        at[0x1C] = complement & 0xFF, at[0x1D] = complement >> 8;
        at[0x1E] = checksum & 0xFF, at[0x1F] = checksum >> 8;
        at[0x3C] = header.reset & 0xFF, at[0x3D] = header.reset >> 8;
    }
    return rom;
}

struct Address {
    std::uint64_t fileOffset;
    std::optional<std::string> text;
};

struct LayoutCase {
    const char* name;
    std::size_t bytes;
    std::size_t copierHeader;
    std::vector<InternalHeader> headers;
    RomMapping mapping;
    std::vector<Address> addresses;
};

constexpr std::size_t kMiB = 1u << 20;

TEST(RomLayout, DecidesTheMappingFromTheInternalHeaderAndGivesBusAddresses) {
    const LayoutCase cases[] = {
        {"LoROM",
         kMiB,
         0,
         {{0x7FC0, 0x20, true, 0x8000}},
         RomMapping::LoRom,
         {{0x1A000, "$03:A000"}, {0, "$00:8000"}, {kMiB - 1, "$1F:FFFF"}}},
        {"LoROM with a copier header",
         kMiB,
         512,
         {{0x7FC0, 0x20, true, 0x8000}},
         RomMapping::LoRom,
         {{0x1A200, "$03:A000"}, {0x100, std::nullopt}}},
        {"LoROM past bank $7D shows the mirror",
         4 * kMiB,
         0,
         {{0x7FC0, 0x30, true, 0x8000}},
         RomMapping::LoRom,
         {{0x3F0000, "$FE:8000"}, {0x3EFFFF, "$7D:FFFF"}}},
        {"LoROM with a stale checksum but a reset vector in ROM",
         kMiB,
         0,
         {{0x7FC0, 0x20, false, 0x8123}},
         RomMapping::LoRom,
         {{0x8000, "$01:8000"}}},
        {"HiROM",
         2 * kMiB,
         0,
         {{0xFFC0, 0x21, true, 0x8000}},
         RomMapping::HiRom,
         {{0x1A000, "$C1:A000"}, {0x3FFFFF, "$FF:FFFF"}, {0x400000, std::nullopt}}},
        {"fast HiROM with a copier header",
         2 * kMiB,
         512,
         {{0xFFC0, 0x31, true, 0x8000}},
         RomMapping::HiRom,
         {{0x200, "$C0:0000"}}},
        {"ExHiROM",
         8 * kMiB,
         0,
         {{0x40FFC0, 0x25, true, 0x8000}},
         RomMapping::ExHiRom,
         {{0x1000, "$C0:1000"}, {0x41A000, "$41:A000"}, {0x7F9000, "$3F:9000"}, {0x7F1000, std::nullopt}}},
        {"no header anywhere", kMiB, 0, {}, RomMapping::Unknown, {{0x1A000, std::nullopt}}},
        {"a map mode that does not fit the place",
         kMiB,
         0,
         {{0x7FC0, 0x21, true, 0x8000}},
         RomMapping::Unknown,
         {{0x1A000, std::nullopt}}},
        {"neither checksum pair nor reset vector",
         kMiB,
         0,
         {{0x7FC0, 0x20, false, 0x0100}},
         RomMapping::Unknown,
         {}},
        {"LoROM and HiROM headers equally good",
         kMiB,
         0,
         {{0x7FC0, 0x20, true, 0x8000}, {0xFFC0, 0x21, true, 0x8000}},
         RomMapping::Unknown,
         {}},
        {"the better of two headers wins",
         kMiB,
         0,
         {{0x7FC0, 0x20, false, 0x8000}, {0xFFC0, 0x21, true, 0x8000}},
         RomMapping::HiRom,
         {}},
        {"too small for any header", 0x100, 0, {}, RomMapping::Unknown, {}},
    };
    for (const LayoutCase& layoutCase : cases) {
        const RomLayout layout =
            DetectRomLayout(RomImage(layoutCase.bytes, layoutCase.copierHeader, layoutCase.headers));
        EXPECT_EQ(layout.mapping, layoutCase.mapping) << layoutCase.name;
        EXPECT_EQ(layout.copierHeaderBytes, layoutCase.copierHeader) << layoutCase.name;
        for (const Address& address : layoutCase.addresses)
            EXPECT_EQ(BusAddressText(layout, address.fileOffset), address.text)
                << layoutCase.name << " at " << address.fileOffset;
    }
}

}  // namespace
}  // namespace tintwright
