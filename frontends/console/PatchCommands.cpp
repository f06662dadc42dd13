#include "frontends/console/PatchCommands.h"

#include <ostream>

#include "frontends/console/CommandArguments.h"
#include "frontends/console/ConsoleCommand.h"
#include "patch/PatchFile.h"

namespace tintwright {
namespace {

std::optional<PatchFormat> ChooseFormat(const CommandArguments& parsed, const std::string& path) {
    const bool named = parsed.Has("--format");
    const std::string name = named ? parsed.Value("--format") : LowerExtension(path);
    if (name == (named ? "ips" : ".ips")) return PatchFormat::Ips;
    if (name == (named ? "bps" : ".bps")) return PatchFormat::Bps;
    return std::nullopt;
}

// Two positional arguments and the option --output; nothing when err was told why.
std::optional<CommandArguments> ParseApply(std::span<const std::string> arguments, std::ostream& err) {
    std::string error;
    auto parsed = CommandArguments::Parse(arguments, {"--output"}, {}, error);
    if (parsed && parsed->Positional().size() != 2)
        error = "expected SOURCE PATCH --output OUT (see --help)";
    else if (parsed && !parsed->Has("--output"))
        error = "apply needs --output OUT, the patched file to write";
    if (error.empty()) return parsed;
    Refuse(err, error);
    return std::nullopt;
}

}  // namespace

int RunPatch(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    std::string error;
    const auto parsed = CommandArguments::Parse(arguments, {"--format"}, {}, error);
    if (!parsed) return Refuse(err, error);
    if (parsed->Positional().size() != 3) return Refuse(err, "expected SOURCE EDITED OUT (see --help)");
    const std::string& target = parsed->Positional()[2];
    if (!OutputIsNoInput(
            target, {{"the source", parsed->Positional()[0]}, {"the edited file", parsed->Positional()[1]}},
            err))
        return kExitBadInput;
    const auto format = ChooseFormat(*parsed, target);
    if (!format)
        return Refuse(err,
                      "cannot tell which patch to write: name it .ips or .bps, or give --format ips or bps");
    std::vector<std::uint8_t> source;
    std::vector<std::uint8_t> edited;
    if (!ReadInputFile(parsed->Positional()[0], "the source", source, err) ||
        !ReadInputFile(parsed->Positional()[1], "the edited file", edited, err))
        return kExitBadInput;
    const auto patch = CreatePatch(*format, source, edited);
    if (!patch) return Refuse(err, patch.Reason());
    if (!WriteOutputFile(target, *patch, err)) return kExitBadInput;
    out << "Wrote " << target << " (" << PatchFormatName(*format) << ", " << patch->size()
        << " bytes), which turns " << parsed->Positional()[0] << " into " << parsed->Positional()[1] << '\n';
    return kExitDone;
}

int RunApply(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    const auto parsed = ParseApply(arguments, err);
    if (!parsed) return kExitBadInput;
    const std::string& sourcePath = parsed->Positional()[0];
    const std::string& patchPath = parsed->Positional()[1];
    const std::string target = parsed->Value("--output");
    if (!OutputIsNoInput(target, {{"the source", sourcePath}, {"the patch", patchPath}}, err))
        return kExitBadInput;
    std::vector<std::uint8_t> source;
    std::vector<std::uint8_t> patch;
    if (!ReadInputFile(sourcePath, "the source", source, err) ||
        !ReadInputFile(patchPath, "the patch", patch, err))
        return kExitBadInput;
    const auto applied = ApplyPatch(source, patch);
    if (!applied) return Refuse(err, patchPath + ": " + applied.Reason() + "; nothing was written");
    if (!WriteOutputFile(target, *applied, err)) return kExitBadInput;
    // Said, since an IPS patch's end size alone can grow a ROM many times over or empty it.
    if (applied->size() != source.size()) {
        err << "tintwright-palette: the patch changes the size of " << sourcePath << " from " << source.size()
            << " to " << applied->size() << " bytes" << (applied->empty() ? " (an empty file)" : "") << '\n';
    }
    out << "Wrote " << target << " (" << applied->size() << " bytes): " << sourcePath << " patched with "
        << patchPath << " (" << PatchFormatName(*DetectPatchFormat(patch)) << ")\n";
    return kExitDone;
}

}  // namespace tintwright
