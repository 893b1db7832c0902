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

// A scrambled value as the dial-up window reads it back. A key missing from a hand-edited
// section reads as empty, not as the 0x10 marker.
std::string ReadScrambled(const ProfileFile& file, const std::string& entry, const char* key) {
    std::string value = file.GetString(entry, key, kMissing, kTextBuffer);
    return value == kMissing ? std::string() : value;
}

// The text to store for a scrambled value: the value itself when it reads back unchanged, else
// the value in quotes, which keep its blanks and its own quotes.
std::string StoredForm(const std::string& scrambled) {
    ProfileFile probe;
    probe.SetString("s", "k", scrambled);
    if (ReadScrambled(probe, "s", "k") == scrambled) {
        return scrambled;
    }
    return '"' + scrambled + '"';
}

// Whether text survives being scrambled, stored and read back.
bool Storable(const std::string& text) {
    ProfileFile probe;
    probe.SetString("s", "k", StoredForm(Shift(text, 1)));
    return Shift(ReadScrambled(probe, "s", "k"), -1) == text;
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
    settings.m_bSavePassword = true;
    settings.m_strUser = UnscrambleDialText(ReadScrambled(file, entry, "User"));
    settings.m_strPassword = UnscrambleDialText(ReadScrambled(file, entry, "Pass"));
    settings.m_strInterval = ReadScrambled(file, entry, "Interval");
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
    if (!Storable(settings.m_strUser) || !Storable(settings.m_strPassword)) {
        return DialSaveResult::NotStorable;
    }
    std::optional<ProfileFile> file = LoadProfileFileForUpdate(path);
    if (!file) {
        return DialSaveResult::WriteFailed;
    }
    file->SetString(entry, "Auto", "1");
    file->SetString(entry, "User", StoredForm(ScrambleDialText(settings.m_strUser)));
    file->SetString(entry, "Pass", StoredForm(ScrambleDialText(settings.m_strPassword)));
    file->SetString(entry, "Interval", settings.m_strInterval);
    return WriteFileAtomically(path, file->Text()) ? DialSaveResult::Saved
                                                   : DialSaveResult::WriteFailed;
}

DialSaveResult SaveEnteredDialSettings(Prompter& prompter, const std::string& path,
                                       const std::string& entry, const DialSettings& settings) {
    const DialSaveResult result = SaveDialSettings(path, entry, settings);
    if (result == DialSaveResult::MissingCredentials) {
        prompter.Notice(kEnterUserAndPassword);
    } else if (result == DialSaveResult::NotStorable) {
        prompter.Notice(kCredentialsNotStorable);
    }
    return result;
}

}  // namespace quorlet
