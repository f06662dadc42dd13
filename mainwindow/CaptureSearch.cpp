#include "mainwindow/CaptureSearch.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "finder/PaletteSearch.h"
#include "finder/RomLayout.h"
#include "finder/UniformHits.h"
#include "locations/LocationBook.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

// The work done at one tick of the 50 ms timer: the window answers between ticks.
constexpr auto kWorkPerTick = std::chrono::milliseconds(15);
// The box lists this many places; the console program lists them all.
constexpr std::size_t kMostPlacesShown = 8;

std::string HexOffset(std::uint32_t offset) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", offset);
    return text;
}

std::string Plural(std::size_t count, const char* noun, const char* nouns) {
    return std::to_string(count) + " " + (count == 1 ? noun : nouns);
}

std::string PlaceNote(const PaletteHit& hit) {
    std::string note;
    if (hit.mismatches > 0)
        note += ", " + Plural(static_cast<std::size_t>(hit.mismatches), "mismatch", "mismatches");
    if (hit.parts.size() > 1) note += ", in " + std::to_string(hit.parts.size()) + " parts";
    return note;
}

// "0001A000 ($03:A000): row 2, 16 colours from colour 0"
std::string PlaceLine(const PaletteHit& hit, const RomLayout& layout) {
    return HexOffset(hit.Offset()) + " (" +
           BusAddressText(layout, hit.Offset()).value_or("bus address unknown") + "): row " +
           std::to_string(hit.row) + ", " +
           Plural(static_cast<std::size_t>(hit.length), "colour", "colours") + " from colour " +
           std::to_string(hit.firstIndex) + PlaceNote(hit) + "\r\n";
}

std::string CaptureTitle(const std::string& fileName, const Capture& capture) {
    return fileName + " (" + capture.format + ", " + Plural(capture.colors.size(), "colour", "colours") + ")";
}

std::string RowsNotFoundLine(const SearchResult& result) {
    if (result.rowsNotFound.empty()) return {};
    std::string line = "Rows found nowhere:";
    for (const int row : result.rowsNotFound) line.append(1, ' ').append(std::to_string(row));
    return line + ".\r\n";
}

// The places that say something first; uniform ones summed up one line per colour.
std::string PlacesText(const std::string& title, const SearchResult& result,
                       const std::vector<UniformHitGroup>& uniform, const RomLayout& layout) {
    std::string text = title + ": " + Plural(result.hits.size(), "place", "places") + " in the ROM (" +
                       MappingName(layout.mapping) + "), best first:\r\n\r\n";
    std::size_t shown = 0;
    for (const PaletteHit& hit : result.hits)
        if (!hit.uniform && shown++ < kMostPlacesShown) text += PlaceLine(hit, layout);
    if (shown > kMostPlacesShown)
        text += "... and " + std::to_string(shown - kMostPlacesShown) +
                " more (tintwright-palette find lists them all)\r\n";
    for (const UniformHitGroup& group : uniform) text += UniformHitGroupText(group) + "\r\n";
    if (result.tooManyRuns) text += "The ROM matched so often that the weakest places were left out.\r\n";
    return text + RowsNotFoundLine(result);
}

}  // namespace

struct CaptureSearch::Run {
    Run(std::string name, Capture captured, std::span<const std::uint8_t> romBytes)
        : fileName(std::move(name)),
          capture(std::move(captured)),
          rom(romBytes.begin(), romBytes.end()),
          layout(DetectRomLayout(rom)),
          search(rom, capture.colors, SearchOptions{}) {}

    std::string fileName;
    Capture capture;
    // A copy: the working copy may be edited, or replaced by another ROM, while the search runs.
    std::vector<std::uint8_t> rom;
    RomLayout layout;
    PaletteSearch search;
};

CaptureSearch::CaptureSearch(WindowSystem& windowSystem, const RomImage& rom, PaletteView& view,
                             const std::string& settingsPath)
    : windowSystem_(windowSystem), rom_(rom), view_(view), settingsPath_(settingsPath) {}

CaptureSearch::~CaptureSearch() = default;

void CaptureSearch::Start(std::string fileName, Capture capture) {
    run_ = std::make_unique<Run>(std::move(fileName), std::move(capture),
                                 rom_.WorkingBytes().first(rom_.Size()));
    ShowProgress();
}

void CaptureSearch::OnTimer() {
    if (!run_) return;
    const auto start = std::chrono::steady_clock::now();
    while (!run_->search.Advance(kSearchSliceBytes) &&
           std::chrono::steady_clock::now() - start < kWorkPerTick) {
    }
    if (!run_->search.Finished()) {
        ShowProgress();
        return;
    }
    // Out of run_ before any box: the box's own loop goes on delivering ticks.
    const std::unique_ptr<Run> finished = std::move(run_);
    view_.UpdateStatusLine();
    Report(*finished);
}

void CaptureSearch::Stop() {
    if (!run_) return;
    run_.reset();
    view_.UpdateStatusLine();
}

void CaptureSearch::ShowProgress() {
    const std::uint64_t total = std::max<std::uint64_t>(run_->search.TotalBytes(), 1);
    const std::uint64_t percent = run_->search.ScannedBytes() * 100 / total;
    windowSystem_.SetText(ids::kStatusLine, "Searching the ROM for the palettes of " + run_->fileName + ": " +
                                                std::to_string(percent) + "% - click here to stop");
}

void CaptureSearch::Report(const Run& run) {
    const SearchResult result = run.search.Result();
    const std::string title = CaptureTitle(run.fileName, run.capture);
    std::string note;
    if (finished_) {
        if (const auto why = finished_(run.fileName, run.capture, result))
            note = "\r\n\r\nThe game preview cannot open: " + *why + ".";
    }
    if (result.hits.empty()) {
        ShowNothingFound(title, note);
        return;
    }
    std::string text =
        PlacesText(title, result, GroupUniformHits(result, run.capture.colors, run.rom), run.layout) + note;
    std::vector<LocationEntry> entries;
    for (const PaletteHit& hit : BestHitOfEachRow(result))
        entries.push_back(FoundPlaceEntry(hit.row, hit.Offset()));
    if (entries.empty()) {
        windowSystem_.ShowMessageBox(
            text + "\r\nThese match almost anywhere, so none goes into the location book.",
            kPaletteSearchCaption, box::kOk | box::kIconInformation);
    } else {
        text += "\r\nAdd the best place of each row to the location book?";
        for (const LocationEntry& entry : entries) text += "\r\n    " + entry.name;
        if (windowSystem_.ShowMessageBox(text, kPaletteSearchCaption, box::kYesNo | box::kIconQuestion) ==
            box::kAnswerYes)
            AddToBook(entries);
    }
    GoTo(result.hits.front().Offset());
}

void CaptureSearch::ShowNothingFound(const std::string& title, const std::string& note) {
    windowSystem_.ShowMessageBox(
        "No place in the ROM holds 4 or more colours in a row of " + title + ".\r\n\r\n" +
            "The colours may be stored compressed, or computed by the game at run time (fades, colour "
            "cycling). A capture taken during a fade may be found with tintwright-palette find --tolerance "
            "2." +
            note,
        kPaletteSearchCaption, box::kOk | box::kIconInformation);
}

void CaptureSearch::AddToBook(const std::vector<LocationEntry>& entries) {
    AddToLocationBook(windowSystem_, settingsPath_, entries);
}

// Whatever got written is listed, even when a later entry could not be. A
// name already in the book keeps its value, which the user may have edited.
void AddToLocationBook(WindowSystem& windowSystem, const std::string& settingsPath,
                       const std::vector<LocationEntry>& entries) {
    for (const LocationEntry& entry : entries) {
        const Result<bool> added =
            AddProfileString(settingsPath, kLocationSection, entry.name, entry.offsetText);
        if (!added) {
            windowSystem.ShowMessageBox("Could not add \"" + entry.name + "\" to the location book in\r\n" +
                                            settingsPath + "\r\n(" + added.Reason() + ").",
                                        kLocationBookErrorCaption, box::kIconWarning);
            break;
        }
    }
    windowSystem.PostListChanged();
}

// As a double click in the location list goes there: the offset into the box, then Goto.
void CaptureSearch::GoTo(std::uint32_t offset) {
    windowSystem_.SetText(ids::kOffsetBox, HexOffset(offset));
    view_.GoToOffset();
}

}  // namespace tintwright
