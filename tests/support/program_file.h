// The built Quorlet.exe in Windows form, for the Windows-side tests that start it or read it
// (Wine shows the Linux root as drive Z:). QUORLET_BIN_DIR is the build's program folder.
#pragma once

#include <string>

#include "platform/win32/wide_text.h"

namespace quorlet::testing {

inline std::wstring ProgramPath() {
    std::wstring path = L"Z:" + win32::ToWide(std::string(QUORLET_BIN_DIR) + "/Quorlet.exe");
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return path;
}

}  // namespace quorlet::testing
