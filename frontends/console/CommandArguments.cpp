#include "frontends/console/CommandArguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace tintwright {
namespace {

bool Contains(std::initializer_list<std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::optional<CommandArguments> CommandArguments::Parse(std::span<const std::string> arguments,
                                                        std::initializer_list<std::string_view> valueOptions,
                                                        std::initializer_list<std::string_view> flags,
                                                        std::string& error) {
    CommandArguments parsed;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        // "--" ends the options: what follows is file names, even "--x".
        if (argument == "--") {
            parsed.positional_.insert(parsed.positional_.end(), arguments.begin() + index + 1,
                                      arguments.end());
            break;
        }
        // "-" alone and negative-looking names are file names, as in most tools.
        if (!argument.starts_with("--")) {
            parsed.positional_.push_back(argument);
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const auto set = [&parsed, &name](std::string value) {
            parsed.every_[name].push_back(value);
            parsed.options_[name] = std::move(value);
        };
        if (Contains(flags, name) && equals == std::string::npos) {
            set({});
        } else if (!Contains(valueOptions, name)) {
            error = "unknown option " + name;
            return std::nullopt;
        } else if (equals != std::string::npos) {
            set(argument.substr(equals + 1));
        } else if (index + 1 < arguments.size()) {
            set(arguments[++index]);
        } else {
            error = "the option " + name + " needs a value";
            return std::nullopt;
        }
    }
    return parsed;
}

std::string CommandArguments::Value(std::string_view option, std::string_view fallback) const {
    const auto found = options_.find(std::string(option));
    return found == options_.end() ? std::string(fallback) : found->second;
}

std::vector<std::string> CommandArguments::Values(std::string_view option) const {
    const auto found = every_.find(std::string(option));
    return found == every_.end() ? std::vector<std::string>() : found->second;
}

std::optional<std::uint32_t> ParseHexOffset(std::string_view text) {
    if (text.starts_with('$'))
        text.remove_prefix(1);
    else if (text.starts_with("0x") || text.starts_with("0X"))
        text.remove_prefix(2);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::uint32_t> ParseDecimal(std::string_view text, std::uint32_t least, std::uint32_t most) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < least || value > most) return std::nullopt;
    return value;
}

std::string FormatOffset(std::uint64_t offset) {
    char text[24];
    std::snprintf(text, sizeof text, "$%llX", static_cast<unsigned long long>(offset));
    return text;
}

std::string LowerExtension(std::string_view path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t separator = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator)) return {};
    std::string extension(path.substr(dot));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

}  // namespace tintwright
