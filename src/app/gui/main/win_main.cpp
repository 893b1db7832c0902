// Quorlet.exe: hands the system's services to the application and runs it.
#include <windows.h>

#include <memory>
#include <string>

#include "app/gui/monitor_app.h"
#include "platform/charsets.h"
#include "platform/net.h"
#include "platform/remote_access.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_services.h"

namespace {

// The folder of the program file; the dial-up simulator's settings are looked for there.
std::string ProgramFileFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    const std::size_t slash = folder.find_last_of(L"\\/");
    return quorlet::win32::FromWide(slash == std::wstring::npos ? L"." : folder.substr(0, slash));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace quorlet;
    std::unique_ptr<RemoteAccess> remoteAccess = MakeRemoteAccess(ProgramFileFolder());
    const MainServices services{SystemRegistry(), SystemPrompter(), SystemFileSystem(),
                                SystemClock(),    SystemCharsets(), SystemSound(),
                                SystemShell(),    SystemNet(),      *remoteAccess};
    CMonitorApp application(services);
    application.InitInstance();
    return 0;
}
