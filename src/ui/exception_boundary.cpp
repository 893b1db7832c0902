#include "ui/exception_boundary.h"

#include <windows.h>

#include <string>

namespace quorlet::ui {

void ReportFailedWork(const wchar_t* what) noexcept {
    try {
        OutputDebugStringW((std::wstring(L"Quorlet: ") + what + L" failed\n").c_str());
    } catch (...) {
        OutputDebugStringW(L"Quorlet: a piece of work failed\n");
    }
}

}  // namespace quorlet::ui
