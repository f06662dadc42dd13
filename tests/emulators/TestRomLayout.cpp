#include "tests/emulators/TestRomLayout.h"

#include <sstream>

#include "core/FileSystem.h"

namespace tintwright::test {

namespace {

// ld65 writes each label as "al 03A000 .PlantedRows".
std::map<std::string, PlantedPlace> ReadLabels(const std::vector<std::uint8_t>& text) {
    std::map<std::string, PlantedPlace> places;
    std::istringstream lines(std::string(text.begin(), text.end()));
    std::string kind, address, name;
    while (lines >> kind >> address >> name) {
        if (kind != "al" || name.size() < 2) continue;
        PlantedPlace place;
        place.busAddress = static_cast<std::uint32_t>(std::stoul(address, nullptr, 16));
        // LoROM: each bank shows 32 KiB of the file at $8000-$FFFF.
        place.offset = ((place.busAddress >> 16) & 0x7F) * 0x8000 + (place.busAddress & 0x7FFF);
        places[name.substr(1)] = place;
    }
    return places;
}

}  // namespace

TestRomLayout::TestRomLayout(const std::string& name, const std::vector<std::string>& needed) {
    const std::string folder = TINTWRIGHT_TEST_ROM_DIR "/";
    romPath_ = folder + name + ".sfc";
    std::vector<std::uint8_t> labels;
    FileOutcome read = ReadWholeFile(romPath_, 1u << 20, rom_);
    if (read) read = ReadWholeFile(folder + name + ".labels", 1u << 20, labels);
    if (!read) {
        error_ = read.Reason();
        return;
    }
    places_ = ReadLabels(labels);
    for (const std::string& label : needed) {
        if (places_.count(label) == 0) error_ += "no label " + label + "; ";
    }
}

PlantedPlace TestRomLayout::Place(const std::string& label) const {
    const auto found = places_.find(label);
    return found == places_.end() ? PlantedPlace{} : found->second;
}

std::vector<std::uint16_t> TestRomLayout::WordsAt(std::uint32_t offset, int count) const {
    std::vector<std::uint16_t> words;
    for (int index = 0; index < count && offset + 2 * index + 1 < rom_.size(); ++index) {
        words.push_back(
            static_cast<std::uint16_t>(rom_[offset + 2 * index] | rom_[offset + 2 * index + 1] << 8));
    }
    return words;
}

std::vector<std::uint16_t> TestRomLayout::Row(int row) const {
    if (row < 2) return WordsAt(Place("PlantedRows").offset + 32 * row, 16);
    std::vector<std::uint16_t> words = WordsAt(Place("SplitFirst").offset, 8);
    const std::vector<std::uint16_t> last = WordsAt(Place("SplitLast").offset, 8);
    words.insert(words.end(), last.begin(), last.end());
    return words;
}

}  // namespace tintwright::test
