#include "platform/link_opener.h"

#include <cstdio>
#include <utility>

namespace quorlet {
namespace {

// The association and command values are read into buffers of this size.
constexpr std::size_t kValueBuffer = 260;

std::optional<std::string> DefaultValue(Registry& registry, const std::string& path) {
    auto key = registry.OpenKey(RegistryRoot::ClassesRoot, path, false);
    return key ? ReadRegistryText(*key, "", kValueBuffer) : std::nullopt;
}

}  // namespace

int GotoUrl(Shell& shell, Registry& registry, const std::string& url) {
    const int result = shell.Open(url);
    if (result > kShellFailedAtMost) {
        return result;
    }
    const auto type = DefaultValue(registry, ".htm");
    if (!type) {
        return result;
    }
    const auto command = DefaultValue(registry, *type + "\\shell\\open\\command");
    if (!command) {
        return result;
    }
    return shell.Run(BrowserCommandLine(*command, url));
}

std::string BrowserCommandLine(std::string_view openCommand, std::string_view url) {
    std::size_t cut = openCommand.find("\"%1\"");
    if (cut == std::string_view::npos) {
        cut = openCommand.find("%1");
    }
    std::string line(openCommand.substr(0, cut));
    line += ' ';
    line += url;
    return line;
}

std::string HyperlinkErrorText(int code) {
    static const std::pair<int, const char*> kReasons[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30,
         "The DDE transaction could not\nbe completed because other DDE transactions\nwere "
         "being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
    };
    std::string text = "Unable to open hyperlink:\n\n";
    for (const auto& [known, reason] : kReasons) {
        if (known == code) {
            return text + reason;
        }
    }
    char unknown[48];
    std::snprintf(unknown, sizeof unknown, "Unknown Error (%d) occurred.", code);
    return text + unknown;
}

}  // namespace quorlet
