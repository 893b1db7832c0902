#include <windows.h>

#include <commdlg.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_services.h"

namespace quorlet {
namespace {

std::wstring CurrentFolder() {
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(length, L'\0');
    const DWORD written = GetCurrentDirectoryW(length, folder.data());
    folder.resize(written < length ? written : 0);
    return folder;
}

thread_local HWND g_promptOwner = nullptr;

HWND Owner() {
    return g_promptOwner != nullptr && IsWindow(g_promptOwner) ? g_promptOwner : GetActiveWindow();
}

// The program's name, from the string table, as plain message boxes show it.
constexpr UINT kAppTitleString = 57344;

std::wstring ApplicationTitle() {
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), kAppTitleString, reinterpret_cast<LPWSTR>(&text), 0);
    if (length > 0 && text != nullptr) {
        return std::wstring(text, static_cast<std::size_t>(length));
    }
    return L"Quorlet";
}

class Win32Prompter final : public Prompter {
public:
    MessageAnswer Show(const std::string& text, const std::string& title, MessageIcon icon,
                       MessageButtons buttons) override {
        UINT style = MB_SETFOREGROUND;
        switch (icon) {
            case MessageIcon::Information:
                style |= MB_ICONINFORMATION;
                break;
            case MessageIcon::Stop:
                style |= MB_ICONSTOP;
                break;
            case MessageIcon::Question:
                style |= MB_ICONQUESTION;
                break;
            case MessageIcon::Exclamation:
                style |= MB_ICONEXCLAMATION;
                break;
            case MessageIcon::None:
                break;
        }
        switch (buttons) {
            case MessageButtons::Ok:
                style |= MB_OK;
                break;
            case MessageButtons::YesNo:
                style |= MB_YESNO;
                break;
            case MessageButtons::OkCancel:
                style |= MB_OKCANCEL;
                break;
        }
        const std::wstring caption = title.empty() ? ApplicationTitle() : win32::ToWide(title);
        switch (MessageBoxW(Owner(), win32::ToWide(text).c_str(), caption.c_str(), style)) {
            case IDYES:
                return MessageAnswer::Yes;
            case IDNO:
                return MessageAnswer::No;
            case IDCANCEL:
                return MessageAnswer::Cancel;
            default:
                return MessageAnswer::Ok;
        }
    }

    std::optional<std::string> OpenFile(const std::string& filter) override {
        // "Name|*.ext|" becomes the system's list of NUL-separated pairs.
        std::wstring pairs = win32::ToWide(filter);
        for (wchar_t& c : pairs) {
            if (c == L'|') {
                c = L'\0';
            }
        }
        pairs.push_back(L'\0');
        wchar_t path[MAX_PATH] = {};
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = Owner();
        dialog.lpstrFilter = pairs.c_str();
        dialog.lpstrFile = path;
        dialog.nMaxFile = MAX_PATH;
        dialog.lpstrTitle = L"打开文件";
        // The data files are opened relative to the current directory, the program folder, so
        // choosing a file elsewhere must not move it: the flag asks the dialog, and the folder
        // is put back afterwards whatever the dialog (or a shell extension in it) did.
        dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
        const std::wstring folder = CurrentFolder();
        const BOOL chosen = GetOpenFileNameW(&dialog);
        if (!folder.empty()) {
            SetCurrentDirectoryW(folder.c_str());
        }
        if (!chosen) {
            return std::nullopt;
        }
        return win32::FromWide(path);
    }
};

}  // namespace

PromptOwner::PromptOwner(HWND window) : m_previous(g_promptOwner) {
    g_promptOwner = window;
}

PromptOwner::~PromptOwner() {
    g_promptOwner = m_previous;
}

Prompter& SystemPrompter() {
    static Win32Prompter prompter;
    return prompter;
}

}  // namespace quorlet
