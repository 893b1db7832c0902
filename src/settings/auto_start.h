// The start-with-Windows value: "Quorlet" under a Run key, holding the program's full path in
// double quotes (an unquoted path with blanks could start another program). The machine-wide
// Run key is used where it can be opened for writing; otherwise, as for every plain user of
// current Windows, the user's own Run key.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/registry.h"

namespace quorlet {

inline constexpr const char* kRunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Quorlet";

inline constexpr const char* kAutoStartNoProgram =
    "不能在当前目录中发现Quorlet.exe !\n请确定本程序不能被更名及所处的目录路径不能过长.";
inline constexpr const char* kAutoStartFailed = "自动启动设置失败 !";

enum class AutoStartResult {
    Done,
    NoProgramFile,  // the program is not in the current directory: kAutoStartNoProgram
    WriteFailed,    // no Run key took the value: kAutoStartFailed
};

// Writes the value for the program in the current directory (on), or deletes it from both Run
// keys (off). Deleting a value that is not there is no failure.
AutoStartResult ApplyAutoStart(Registry& registry, const FileSystem& fileSystem, bool on);

// The value's text for a program path: the path in double quotes.
std::string AutoStartCommand(std::string_view programPath);

// The folder of the program a Run value starts, quoted or not; nullopt without a folder.
std::optional<std::string> FolderOfAutoStartCommand(std::string_view command);

}  // namespace quorlet
