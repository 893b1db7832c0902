#include "dialup/dial_settings.h"

#include "base/profile_file.h"
#include "platform/file_system.h"
#include "platform/profile_files.h"

namespace quorlet {
namespace {

constexpr const char* kMissing = "\x10";
constexpr std::size_t kAutoBuffer = 10;
constexpr std::size_t kTextBuffer = 255;

std::string Shift(const std::string& text, int direction) {
    std::string out;
    for (std::size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        out +=
            static_cast<char>(static_cast<unsigned char>(byte + direction * static_cast<int>(i)));
    }
    return out;
}

}  // namespace

std::string ScrambleDialText(const std::string& text) {
    return Shift(text, 1);
}

std::string UnscrambleDialText(const std::string& text) {
    return Shift(text, -1);
}

DialSettings LoadDialSettings(const std::string& path, const std::string& entry) {
    DialSettings settings;
    const ProfileFile file = LoadProfileFile(path);
    if (!file.GetString(entry, "Auto", kMissing, kAutoBuffer).starts_with('1')) {
        return settings;
    }
    // A key missing from a hand-edited section reads as empty, not as the 0x10 marker.
    const auto read = [&](const char* key) {
        std::string value = file.GetString(entry, key, kMissing, kTextBuffer);
        return value == kMissing ? std::string() : value;
    };
    settings.m_bSavePassword = true;
    settings.m_strUser = UnscrambleDialText(read("User"));
    settings.m_strPassword = UnscrambleDialText(read("Pass"));
    settings.m_strInterval = read("Interval");
    return settings;
}

DialSaveResult SaveDialSettings(const std::string& path, const std::string& entry,
                                const DialSettings& settings) {
    if (!settings.m_bSavePassword) {
        return WriteProfileValue(path, entry, "Auto", "0") ? DialSaveResult::AutoOff
                                                           : DialSaveResult::WriteFailed;
    }
    if (settings.m_strUser.empty() || settings.m_strPassword.empty()) {
        return DialSaveResult::MissingCredentials;
    }
    std::optional<ProfileFile> file = LoadProfileFileForUpdate(path);
    if (!file) {
        return DialSaveResult::WriteFailed;
    }
    file->SetString(entry, "Auto", "1");
    file->SetString(entry, "User", ScrambleDialText(settings.m_strUser));
    file->SetString(entry, "Pass", ScrambleDialText(settings.m_strPassword));
    file->SetString(entry, "Interval", settings.m_strInterval);
    return WriteFileAtomically(path, file->Text()) ? DialSaveResult::Saved
                                                   : DialSaveResult::WriteFailed;
}

}  // namespace quorlet
