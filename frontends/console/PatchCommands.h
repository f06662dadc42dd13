#pragma once

// The patch subcommands of tintwright-palette.

#include <iosfwd>
#include <span>
#include <string>

namespace tintwright {

// patch SOURCE EDITED OUT: an IPS or BPS patch (by OUT's extension, or
// --format ips|bps) that turns SOURCE into EDITED.
int RunPatch(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);
// apply SOURCE PATCH --output OUT: the patch, IPS or BPS by its content,
// applied to SOURCE, saved as OUT.
int RunApply(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace tintwright
