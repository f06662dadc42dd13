#include "frontends/console/ConsoleCommand.h"

#include <ostream>

#include "core/FileSystem.h"
#include "core/RomImage.h"
#include "core/SafeFileWrite.h"

namespace tintwright {

bool ReadInputFile(const std::string& path, std::string_view what, std::vector<std::uint8_t>& bytes,
                   std::ostream& err) {
    const FileOutcome outcome = ReadWholeFile(path, kMaxRomFileBytes, bytes);
    if (!outcome) Refuse(err, "cannot read " + std::string(what) + " " + path + ": " + outcome.Reason());
    return static_cast<bool>(outcome);
}

bool WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes, std::ostream& err) {
    const FileOutcome outcome = WriteFileSafely(path, bytes);
    if (!outcome) Refuse(err, "cannot write " + path + ": " + outcome.Reason());
    return static_cast<bool>(outcome);
}

bool OutputIsNoInput(const std::string& output, std::initializer_list<NamedInput> inputs, std::ostream& err) {
    // Tools read "-" as standard output; this program writes files only, so a
    // file named "-" would surprise.
    if (output == "-") {
        Refuse(err,
               "the output - would be standard output, which takes no files here; name a file (./- for a "
               "file named -); nothing was written");
        return false;
    }
    for (const NamedInput& input : inputs) {
        if (!Files().SameFile(output, input.path)) continue;
        Refuse(err, "the output " + output + " is the same file as " + std::string(input.what) + " " +
                        input.path + "; nothing was written");
        return false;
    }
    return true;
}

int Refuse(std::ostream& err, const std::string& message) {
    err << "tintwright-palette: " << message << '\n';
    return kExitBadInput;
}

}  // namespace tintwright
