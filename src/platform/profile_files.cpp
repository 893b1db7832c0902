#include "platform/profile_files.h"

#include "platform/file_system.h"

namespace quorlet {

ProfileFile LoadProfileFile(const std::string& path) {
    const auto content = ReadWholeFile(path);
    return content ? ProfileFile(*content) : ProfileFile();
}

std::optional<ProfileFile> LoadProfileFileForUpdate(const std::string& path) {
    const FileContent content = ReadFileContent(path);
    if (content.data) {
        return ProfileFile(*content.data);
    }
    if (content.missing) {
        return ProfileFile();
    }
    return std::nullopt;
}

std::string ReadProfileValue(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view defaultText,
                             std::size_t bufferSize) {
    return LoadProfileFile(path).GetString(section, key, defaultText, bufferSize);
}

bool WriteProfileValue(const std::string& path, std::string_view section, std::string_view key,
                       std::optional<std::string_view> value) {
    std::optional<ProfileFile> file = LoadProfileFileForUpdate(path);
    if (!file) {
        return false;
    }
    const bool changed =
        value ? file->SetString(section, key, *value) : file->DeleteKey(section, key);
    return !changed || WriteFileAtomically(path, file->Text());
}

bool DeleteProfileSection(const std::string& path, std::string_view section) {
    std::optional<ProfileFile> file = LoadProfileFileForUpdate(path);
    if (!file) {
        return false;
    }
    return !file->DeleteSection(section) || WriteFileAtomically(path, file->Text());
}

}  // namespace quorlet
