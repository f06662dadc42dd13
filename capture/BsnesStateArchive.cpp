#include "capture/BsnesStateArchive.h"

#include "capture/BsnesV115State.h"
#include "capture/ZipArchive.h"

namespace tintwright {
namespace {

bool IsStateName(const std::string& name) {
    return name.size() > 4 && name.ends_with(".bst");
}

}  // namespace

CaptureReading ReadBsnesStateArchive(capture::Bytes archive) {
    const capture::ZipDirectory directory = capture::ReadZipDirectory(archive);
    if (!directory.error.empty()) return CaptureReading::Failed(directory.error);
    const capture::ZipMember* newest = nullptr;
    for (const capture::ZipMember& member : directory.members) {
        if (IsStateName(member.name)) newest = &member;
    }
    if (newest == nullptr) return CaptureReading::Failed("zip: no bsnes state (.bst) inside");
    const capture::ZipExtracted state = capture::ExtractZipMember(archive, *newest, capture::kMaxStateBytes);
    if (!state.error.empty()) return CaptureReading::Failed(state.error);
    CaptureReading reading = ReadBsnesV115State(state.bytes);
    if (!reading) return CaptureReading::Failed(newest->name + " in zip: " + reading.Error());
    Capture capture = reading.Value();
    capture.format += ", " + newest->name + " in a .bsz";
    return CaptureReading::Read(std::move(capture));
}

}  // namespace tintwright
