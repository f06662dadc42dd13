// The command line handed to the emulator: any list of arguments, quoted and
// split again by the Windows rules, must come back as the same list.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/WindowsCommandLine.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/WindowsCommandLineSplit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    std::vector<std::string> arguments(data.ConsumeIntegralInRange<std::size_t>(0, 8));
    for (std::string& argument : arguments) {
        argument = data.ConsumeRandomLengthString(64);
        // A command line is a C string: no argument can hold a NUL.
        std::erase(argument, '\0');
    }

    const std::string line = tintwright::QuoteWindowsCommandLine(arguments);
    FUZZ_REQUIRE(tintwright::testing::SplitWindowsCommandLine(line) == arguments);
    for (const std::string& argument : arguments) {
        // An argument with nothing to protect is passed as it is.
        const bool plain = !argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos;
        if (plain) FUZZ_REQUIRE(tintwright::QuoteWindowsCommandLine({argument}) == argument);
    }
    return 0;
}
