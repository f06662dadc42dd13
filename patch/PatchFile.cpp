#include "patch/PatchFile.h"

#include <algorithm>
#include <cctype>

#include "bytes/ByteReader.h"
#include "patch/BpsPatch.h"
#include "patch/IpsPatch.h"

namespace tintwright {

Result<std::vector<std::uint8_t>> CreatePatch(PatchFormat format, std::span<const std::uint8_t> source,
                                              std::span<const std::uint8_t> target) {
    return format == PatchFormat::Ips ? CreateIpsPatch(source, target) : CreateBpsPatch(source, target);
}

std::optional<PatchFormat> DetectPatchFormat(std::span<const std::uint8_t> patch) {
    if (ByteReader(patch).Expect(kIpsMagic)) return PatchFormat::Ips;
    if (ByteReader(patch).Expect(kBpsMagic)) return PatchFormat::Bps;
    return std::nullopt;
}

Result<std::vector<std::uint8_t>> ApplyPatch(std::span<const std::uint8_t> source,
                                             std::span<const std::uint8_t> patch,
                                             std::size_t maxOutputBytes) {
    const auto format = DetectPatchFormat(patch);
    if (!format)
        return Result<std::vector<std::uint8_t>>::Failed(
            "not a patch: expected \"PATCH\" (IPS) or \"BPS1\" (BPS) at its start");
    return *format == PatchFormat::Ips ? ApplyIpsPatch(source, patch, maxOutputBytes)
                                       : ApplyBpsPatch(source, patch, maxOutputBytes);
}

std::string_view PatchFormatName(PatchFormat format) {
    return format == PatchFormat::Ips ? "IPS" : "BPS";
}

std::optional<PatchFormat> PatchFormatNamed(std::string_view name) {
    for (const PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps}) {
        const std::string_view known = PatchFormatName(format);
        const bool same =
            std::equal(name.begin(), name.end(), known.begin(), known.end(),
                       [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
        if (same) return format;
    }
    return std::nullopt;
}

}  // namespace tintwright
