#include "ui/window.h"

#include "platform/win32/wide_text.h"

namespace quorlet::ui {

std::string GetText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return win32::FromWide(text);
}

void SetText(HWND window, const std::string& text) {
    ::SetWindowTextW(window, win32::ToWide(text).c_str());
}

HINSTANCE ResourceInstance() {
    return GetModuleHandleW(nullptr);
}

std::string LoadResourceString(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size the call hands out a pointer into the resource itself.
    const int length = LoadStringW(ResourceInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) {
        return {};
    }
    return win32::FromWide(std::wstring_view(text, static_cast<std::size_t>(length)));
}

}  // namespace quorlet::ui
