#include "gui_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "app/gui/password_dlg.h"
#include "dialup/dial_state.h"
#include "platform/charsets.h"
#include "platform/win32/wide_text.h"
#include "resource.h"
#include "settings/settings_store.h"
#include "ui/dialog.h"

namespace quorlet::testing {
namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type,
              const std::vector<std::uint8_t>& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}

MainWindowHarness* g_runningHarness = nullptr;
bool g_watchdogFired = false;

void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
    g_watchdogFired = true;
    // End every dialog of this thread, the innermost first.
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            if (ui::CDialog* dialog = ui::CDialog::FromHandle(window)) {
                dialog->EndDialog(-2);
            }
            return TRUE;
        },
        0);
}

}  // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb) {
    // Scanlines with filter byte 0, in a zlib stream of stored (uncompressed) blocks.
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(height) * (width * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto row = rgb.begin() + static_cast<std::ptrdiff_t>(y) * width * 3;
        raw.insert(raw.end(), row, row + width * 3);
    }
    std::vector<std::uint8_t> zlib{0x78, 0x01};
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min<std::size_t>(65535, raw.size() - offset);
        const bool last = offset + length == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<std::uint8_t>(length));
        zlib.push_back(static_cast<std::uint8_t>(length >> 8));
        zlib.push_back(static_cast<std::uint8_t>(~length));
        zlib.push_back(static_cast<std::uint8_t>(~length >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                    raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(zlib, (b << 16) | a);

    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}

void SaveScreenshot(const RECT& area, const std::string& name) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        ADD_FAILURE() << "nothing to capture for " << name;
        return;
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(stride) * height);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), bgr.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* source = &bgr[static_cast<std::size_t>(y) * stride + x * 3];
            std::uint8_t* target = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
        }
    }
    const std::filesystem::path folder = QUORLET_SCREENSHOT_DIR;
    std::filesystem::create_directories(folder);
    const std::vector<std::uint8_t> png = EncodePng(width, height, rgb);
    std::ofstream(folder / (name + ".png"), std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
}

void SaveScreenshot(HWND window, const std::string& name) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(std::chrono::milliseconds(200));
    RECT area;
    GetWindowRect(window, &area);
    SaveScreenshot(area, name);
}

void PumpFor(std::chrono::milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return condition();
            }
            ui::DispatchThreadMessage(message);
        }
        if (condition()) {
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return condition();
        }
        // Short naps, so that a condition that no message announces is seen soon.
        MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                  static_cast<DWORD>(std::min<long long>(left.count(), 20)),
                                  QS_ALLINPUT);
    }
}

void CleanProgramRegistry() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quorlet");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"GLPass");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\GLPass");
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        RegDeleteKeyValueW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Quorlet");
    }
}

std::optional<std::string> ReadMainValue(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quorlet\\Main", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    wchar_t data[512] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    const LONG status = RegQueryValueExW(key, win32::ToWide(name).c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return win32::FromWide(data);
}

ProgramFolder::ProgramFolder() : m_previous(std::filesystem::current_path()) {
    std::ofstream(m_dir.path() / "Quorlet.exe").put('\0');
    std::filesystem::current_path(m_dir.path());
}

ProgramFolder::~ProgramFolder() {
    std::error_code ignored;
    std::filesystem::current_path(m_previous, ignored);
}

std::string ProgramFolder::Path() const {
    return SystemFileSystem().CurrentDirectory();
}

MainWindowHarness::MainWindowHarness() {
    CleanProgramRegistry();
    TheDialState() = DialState{};
}

MainWindowHarness::~MainWindowHarness() {
    ui::ClearDialogScripts();
    ui::SetMenuHook(nullptr);
    ui::SetCommandObserver(nullptr);
    TheDialState() = DialState{};
    CleanProgramRegistry();
}

MainServices MainWindowHarness::Services() {
    return MainServices{registry != nullptr ? *registry : SystemRegistry(),
                        prompter,
                        SystemFileSystem(),
                        clock,
                        SystemCharsets(),
                        sound,
                        shell,
                        realNet != nullptr ? *realNet : net,
                        dialUp != nullptr ? *dialUp : remoteAccess};
}

void MainWindowHarness::Store(const MainSettings& settings, const AccountTable& accounts) {
    ScriptedPrompter quiet;
    SettingsStore store(SystemRegistry(), quiet, SystemFileSystem());
    // As at a program start: loading creates the root key that saving opens.
    MainSettings loaded;
    AccountTable loadedAccounts;
    store.Load(loaded, loadedAccounts);
    store.Save(settings, accounts);
    EXPECT_TRUE(quiet.shown.empty()) << (quiet.shown.empty() ? "" : quiet.shown[0].text);
}

INT_PTR MainWindowHarness::Run(const std::function<void(CMainDlg&)>& script,
                               std::chrono::seconds limit) {
    CMainDlg window(Services());
    ui::SetDialogScript(IDD_MAIN,
                        [&script](ui::CDialog& dialog) { script(static_cast<CMainDlg&>(dialog)); });
    g_runningHarness = this;
    g_watchdogFired = false;
    const UINT_PTR watchdog =
        SetTimer(nullptr, 0, static_cast<UINT>(limit.count() * 1000), &Watchdog);
    const INT_PTR result = window.DoModal(nullptr);
    KillTimer(nullptr, watchdog);
    ui::SetDialogScript(IDD_MAIN, nullptr);
    g_runningHarness = nullptr;
    EXPECT_FALSE(g_watchdogFired) << "the main window was still open after " << limit.count()
                                  << " s";
    return result;
}

void RunInDialog(const std::function<void(ui::CDialog& dialog)>& body) {
    ScriptedPrompter prompter;
    CPasswordDlg dialog(prompter);
    ui::SetDialogScript(IDD_PASSWORD, [&](ui::CDialog& d) {
        body(d);
        d.EndDialog(IDCANCEL);
    });
    dialog.DoModal(nullptr);
    ui::ClearDialogScripts();
}

void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PressKey(HWND dialog, UINT key) {
    HWND focus = GetFocus();
    HWND target = focus != nullptr && GetAncestor(focus, GA_ROOT) == dialog ? focus : dialog;
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    PumpFor(std::chrono::milliseconds(50));
}

MenuRecorder::MenuRecorder() {
    ui::SetMenuHook([this](HMENU menu, HWND owner) {
        menus.push_back(ui::ReadMenu(menu));
        if (choose != 0) {
            PostMessageW(owner, WM_COMMAND, choose, 0);
            choose = 0;
        }
        return false;
    });
}

MenuRecorder::~MenuRecorder() {
    ui::SetMenuHook(nullptr);
}

}  // namespace quorlet::testing
