#pragma once

// The find subcommand of tintwright-palette: where in a ROM the palettes of a
// capture (an emulator's save state, a CGRAM dump, a palette file) are stored.

#include <iosfwd>
#include <span>
#include <string>

namespace tintwright {

// find ROM CAPTURE [--tolerance T] [--mismatches K] [--min-run N] [--json]
// [--all] [--add-to-book SETTINGS]. Exit 0 with hits, 1 with none, 2 on bad input.
int RunFind(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace tintwright
