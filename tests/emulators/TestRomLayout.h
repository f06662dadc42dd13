#pragma once

// Where the test LoROM keeps its palettes, read from the label file ld65
// writes beside it, so the places are typed only in the ROM's source.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tintwright::test {

struct PlantedPlace {
    std::uint32_t busAddress = 0;  // as the SNES CPU sees it, e.g. $03A000
    std::uint32_t offset = 0;      // in the ROM file
};

class TestRomLayout {
public:
    // Reads name.sfc and name.labels from the build's ROM folder; Error()
    // says what was wrong, a needed label missing too.
    explicit TestRomLayout(const std::string& name,
                           const std::vector<std::string>& needed = {"PlantedRows", "DecoyRow", "SplitFirst",
                                                                     "SplitLast"});

    const std::string& Error() const { return error_; }
    const std::string& RomPath() const { return romPath_; }
    const std::vector<std::uint8_t>& Rom() const { return rom_; }

    PlantedPlace Place(const std::string& label) const;
    // The colour words of a CGRAM row as the ROM stores them: rows 0 and 1 at
    // PlantedRows, row 2 from the halves SplitFirst and SplitLast.
    std::vector<std::uint16_t> Row(int row) const;
    std::vector<std::uint16_t> WordsAt(std::uint32_t offset, int count) const;

private:
    std::string romPath_;
    std::vector<std::uint8_t> rom_;
    std::map<std::string, PlantedPlace> places_;
    std::string error_;
};

}  // namespace tintwright::test
