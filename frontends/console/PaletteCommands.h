#pragma once

// The palette-file subcommands of tintwright-palette.

#include <iosfwd>
#include <span>
#include <string>

namespace tintwright {

// export ROM OFFSET [--count N] [--format NAME] OUT: N colours (16 unless
// told, at most 256) from OFFSET, in the format OUT's extension names.
int RunExport(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);
// import ROM OFFSET IN --output SAVE: IN's colours at OFFSET of a copy of ROM,
// saved as SAVE.
int RunImport(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace tintwright
