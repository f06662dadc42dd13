#include "capture/BsnesStateArchive.h"

#include "bytes/PrintableText.h"
#include "capture/BsnesV115State.h"
#include "capture/ZipArchive.h"

namespace tintwright {
namespace {

bool IsStateName(const std::string& name) {
    return name.size() > 4 && name.ends_with(".bst");
}

}  // namespace

Result<Capture> ReadBsnesStateArchive(capture::Bytes archive) {
    const auto members = capture::ReadZipDirectory(archive);
    if (!members) return Result<Capture>::Failed(members.Reason());
    const capture::ZipMember* newest = nullptr;
    for (const capture::ZipMember& member : *members) {
        if (IsStateName(member.name)) newest = &member;
    }
    if (newest == nullptr)
        return Result<Capture>::Failed("zip: a zip without a save state (no bsnes state (.bst) inside)");
    const auto state = capture::ExtractZipMember(archive, *newest, capture::kMaxStateBytes);
    if (!state) return Result<Capture>::Failed(state.Reason());
    Result<Capture> reading = ReadBsnesV115State(*state);
    if (!reading)
        return Result<Capture>::Failed(PrintableText(newest->name) + " in zip: " + reading.Reason());
    Capture capture = std::move(reading).Value();
    capture.format += ", " + PrintableText(newest->name) + " in a .bsz";
    return capture;
}

}  // namespace tintwright
