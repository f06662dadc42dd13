#pragma once

// Windows hands a started program one command-line string, which the program
// splits into arguments itself. This quotes a list of arguments so that the
// usual splitting rules (those of the C run-time and CommandLineToArgvW) give
// the same list back: a save path with spaces stays one argument.

#include <string>
#include <vector>

namespace tintwright {

// Arguments joined by single spaces. One without blanks or quotes is kept as
// it is; any other, and the empty one, is put in quotes, with a backslash
// before each quote it holds and its backslashes doubled where they come
// before a quote or before the closing one.
std::string QuoteWindowsCommandLine(const std::vector<std::string>& arguments);

}  // namespace tintwright
