#pragma once

#include "frontends/console/ConsoleCommand.h"

namespace tintwright {

// preview ROM STATE --output FRAME.png [--edited EDITED] [--core CORE] [--frames N]:
// the frame a libretro core draws from STATE, with EDITED's words at the
// places where the search of STATE's CGRAM in ROM found them.
int RunPreview(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

// live ROM STATE [--frames N] [--press BUTTON@FRAME[+COUNT]]... [--json] [--core CORE]:
// which of the places the search of STATE's CGRAM found in ROM the game
// really loads, told by running it twice, once with every place tagged.
int RunLive(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace tintwright
