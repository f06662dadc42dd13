#pragma once

#include "frontends/console/ConsoleCommand.h"

namespace tintwright {

// preview ROM STATE --output FRAME.png [--edited EDITED] [--core CORE] [--frames N]:
// the frame a libretro core draws from STATE, with EDITED's words at the
// places where the search of STATE's CGRAM in ROM found them.
int RunPreview(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace tintwright
