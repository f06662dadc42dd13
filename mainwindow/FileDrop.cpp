#include "mainwindow/FileDrop.h"

#include <algorithm>
#include <cstdio>
#include <variant>

#include "capture/Capture.h"
#include "core/FileSystem.h"
#include "mainwindow/PaletteStrip.h"

namespace tintwright {
namespace {

// Far above any save state or palette file; a larger file is refused unread.
constexpr std::uint64_t kLargestDroppedFile = 64u << 20;

std::string FileNameOf(const std::string& path) {
    return path.substr(FolderOf(path, kPathSeparators).size());
}

// Whole colour words only: none at or past the end of the file, so none
// reaches the working copy's kept byte.
std::size_t ColorsThatFit(std::uint32_t romSize, std::uint32_t offset, std::size_t wanted) {
    const std::size_t room = offset >= romSize ? 0 : (romSize - offset) / 2;
    return std::min(room, wanted);
}

std::string ColorCount(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " colour" : " colours");
}

}  // namespace

void FileDrop::OnFilesDropped(const std::vector<std::string>& paths, Point client) {
    if (paths.empty() || !rom_.IsLoaded()) return;
    if (paths.size() > 1) {
        Warn("Drop one file at a time: " + std::to_string(paths.size()) + " files were dropped.");
        return;
    }
    DropFile(paths.front(), StripCellAt(client).has_value());
}

// Onto the strip, a palette file is written; anything else, and a palette
// file dropped elsewhere, is a capture to search for. Raw colour words are a
// CGRAM dump, whatever the drop point: the same bytes serve both, and finding
// where colours are stored is what a dump is for.
void FileDrop::DropFile(const std::string& path, bool ontoStrip) {
    const std::string fileName = FileNameOf(path);
    std::vector<std::uint8_t> bytes;
    if (const FileOutcome read = ReadWholeFile(path, kLargestDroppedFile, bytes); !read) {
        Warn("Could not read " + path + ":\r\n" + read.Reason());
        return;
    }
    const auto content =
        ReadCaptureOrPalette(bytes, ontoStrip ? PaletteFileUse::WrittenWhole : PaletteFileUse::Searched);
    if (!content) {
        Warn(fileName + " is neither a save state nor a palette file:\r\n" + content.Reason());
        return;
    }
    if (const auto* palette = std::get_if<PaletteFile>(&content.Value())) {
        OfferPaletteWrite(fileName, palette->colors);
        return;
    }
    const Capture& capture = std::get<Capture>(content.Value());
    if (const auto nothing = OneColorOnly(capture)) {
        Warn(fileName + ": " + *nothing + ".");
        return;
    }
    search_.Start(fileName, capture);
}

void FileDrop::OfferPaletteWrite(const std::string& fileName, std::span<const std::uint16_t> colors) {
    const auto offset = static_cast<std::uint32_t>(view_.ViewOffset());
    const std::size_t fitting = ColorsThatFit(rom_.Size(), offset, colors.size());
    char offsetText[16];
    std::snprintf(offsetText, sizeof offsetText, "%08X", offset);
    if (fitting == 0) {
        Warn("No colour of " + fileName + " fits at " + offsetText + ": the ROM has " +
             std::to_string(rom_.Size()) + " bytes.");
        return;
    }
    std::string question =
        "Write the " + ColorCount(colors.size()) + " of " + fileName + " at " + offsetText + "?";
    if (fitting < colors.size())
        question += "\r\nOnly the first " + std::to_string(fitting) + " fit before the end of the ROM.";
    if (windowSystem_.ShowMessageBox(question, kPaletteFileCaption, box::kYesNo | box::kIconQuestion) !=
        box::kAnswerYes)
        return;
    std::vector<RgbColor> written(fitting);
    std::transform(colors.begin(), colors.begin() + static_cast<std::ptrdiff_t>(fitting), written.begin(),
                   [](std::uint16_t word) { return ToRgbColor(word); });
    rom_.WriteColors(offset, written);
}

void FileDrop::Warn(const std::string& text) {
    windowSystem_.ShowMessageBox(text, kDroppedFileCaption, box::kOk | box::kIconWarning);
}

}  // namespace tintwright
