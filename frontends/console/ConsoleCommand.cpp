#include "frontends/console/ConsoleCommand.h"

#include <ostream>

#include "core/FileSystem.h"
#include "core/SafeFileWrite.h"

namespace tintwright {

bool ReadInputFile(const std::string& path, std::string_view what, std::vector<std::uint8_t>& bytes,
                   std::ostream& err) {
    const FileOutcome outcome = ReadWholeFile(path, kMaxInputBytes, bytes);
    if (!outcome) Refuse(err, "cannot read " + std::string(what) + " " + path + ": " + outcome.Reason());
    return static_cast<bool>(outcome);
}

bool WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes, std::ostream& err) {
    const FileOutcome outcome = WriteFileSafely(path, bytes);
    if (!outcome) Refuse(err, "cannot write " + path + ": " + outcome.Reason());
    return static_cast<bool>(outcome);
}

int Refuse(std::ostream& err, const std::string& message) {
    err << "tintwright-palette: " << message << '\n';
    return kExitBadInput;
}

}  // namespace tintwright
