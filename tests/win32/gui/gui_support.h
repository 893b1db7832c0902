// What the window tests share: doubles for the services that reach the outside world, a
// program folder of their own, message pumping through the framework's loop step, screenshots
// as PNG files, and a harness that runs the real main window with a script.
#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/gui/main_dlg.h"
#include "app/gui/main_services.h"
#include "platform/clock.h"
#include "platform/win32/win32_registry.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "ui/menu.h"

namespace quorlet::testing {

class RecordingSound final : public Sound {
public:
    std::vector<std::string> played;
    void PlayFileAsync(const std::string& path) override { played.push_back(path); }
};

class RecordingShell final : public Shell {
public:
    std::vector<std::string> opened;
    std::vector<std::string> run;
    int openResult = kShellFailedAtMost + 1;  // what Open answers
    int Open(const std::string& document) override {
        opened.push_back(document);
        return openResult;
    }
    int Run(const std::string& commandLine) override {
        run.push_back(commandLine);
        return kShellFailedAtMost + 1;
    }
    std::optional<std::string> mailtoCommand;  // the user's own mail program, if any
    std::optional<std::string> AssociatedCommand(const std::string& scheme) override {
        return scheme == "mailto" ? mailtoCommand : std::nullopt;
    }
};

class FakeNet final : public Net {
public:
    bool initializes = true;
    std::optional<std::string> hostName = "quorlet-host";
    std::vector<std::array<std::uint8_t, 4>> addresses{{192, 168, 1, 7}, {10, 0, 0, 2}};

    bool Initialize() override { return initializes; }
    std::unique_ptr<NetStream> Connect(const std::string&, std::uint16_t, std::chrono::milliseconds,
                                       const std::atomic<bool>*) override {
        return nullptr;
    }
    std::optional<std::string> LocalHostName() override { return hostName; }
    std::vector<std::array<std::uint8_t, 4>> ResolveIPv4(const std::string& host) override {
        return host == hostName ? addresses : std::vector<std::array<std::uint8_t, 4>>{};
    }
};

// A line that is up or down as the test says; hang-ups are counted.
class FakeRemoteAccess final : public RemoteAccess {
public:
    bool lineUp = false;
    int hangUps = 0;

    std::optional<std::vector<std::string>> EnumEntries() override {
        return std::vector<std::string>{"拨号连接"};
    }
    unsigned Dial(const std::string&, const std::string&, const std::string&, DialNotifier,
                  RasHandle&) override {
        return 600;
    }
    std::optional<std::string> ErrorString(unsigned) override { return std::nullopt; }
    unsigned HangUp(RasHandle) override {
        ++hangUps;
        return 0;
    }
    std::optional<std::vector<Connection>> EnumConnections() override {
        if (!lineUp) {
            return std::vector<Connection>{};
        }
        return std::vector<Connection>{{7, "拨号连接"}};
    }
    std::optional<unsigned> ConnectState(RasHandle) override { return RasState::kConnected; }
};

// Runs queued messages for the given time, through the same step as the dialogs' loop.
void PumpFor(std::chrono::milliseconds duration);
// Pumps until the condition holds or the time is up; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// Saves the screen area of a window as build/win64/screenshots/<name>.png.
void SaveScreenshot(HWND window, const std::string& name);
void SaveScreenshot(const RECT& screenArea, const std::string& name);
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

// The registry keys and values the program writes, removed before and after each test.
void CleanProgramRegistry();

// Reads a text value straight from the registry (nullopt when missing).
std::optional<std::string> ReadMainValue(const std::string& name);

// A fresh program folder made the current directory (with a Quorlet.exe in it, so that the
// program keeps it); the previous directory comes back afterwards.
class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    std::string Path() const;

private:
    TempDir m_dir;
    std::filesystem::path m_previous;
};

// Runs the real main window with a script that starts once the window has initialised. The
// script must end the window; a watchdog ends it after a time limit and fails the test.
class MainWindowHarness {
public:
    MainWindowHarness();
    ~MainWindowHarness();

    // Writes settings and accounts the way the program does, as if an earlier run saved them.
    void Store(const MainSettings& settings, const AccountTable& accounts);

    // Runs the window; returns what DoModal returned.
    INT_PTR Run(const std::function<void(CMainDlg&)>& script,
                std::chrono::seconds limit = std::chrono::seconds(20));

    ScriptedPrompter prompter;
    RecordingSound sound;
    RecordingShell shell;
    FakeNet net;
    Net* realNet = nullptr;        // when set, the window's sockets instead of `net` (mail tests)
    Registry* registry = nullptr;  // when set, instead of the system's registry
    FakeRemoteAccess remoteAccess;
    RemoteAccess* dialUp = nullptr;  // when set, instead of `remoteAccess` (a DialSim.ini's)
    ManualClock clock{CivilTime{2024, 5, 3, 10, 0, 0}};
    ProgramFolder folder;

    MainServices Services();
};

// Stages the states a check leaves behind in the main window, for tests of what the window does
// with them.
struct MainDlgProbe {
    static bool& Busy(CMainDlg& window) { return window.m_bChecking; }
    static bool& NewMail(CMainDlg& window) { return window.m_bNewMail; }
    static bool& HaveFiltered(CMainDlg& window) { return window.m_bHaveFiltered; }
    static bool HasSkin(CMainDlg& window) { return static_cast<bool>(window.m_skin); }
    // The check cycle's report that a deletion run has ended (carried to the window's thread).
    static void ReportDeletionFinished(CMainDlg& window) {
        static_cast<CheckObserver&>(window).OnDeletionFinished();
    }
};

// Presses a button of a dialog the way a click does.
// Runs body inside a real dialog of the program (the startup password dialog, whose buttons
// are hover buttons), then closes it.
void RunInDialog(const std::function<void(ui::CDialog& dialog)>& body);

void Click(HWND dialog, int id);
// Sends a key press to the window that has the focus in the dialog (or the dialog).
void PressKey(HWND dialog, UINT key);

// Captures every menu the program tracks instead of showing it; chooses nothing.
class MenuRecorder {
public:
    MenuRecorder();
    ~MenuRecorder();
    std::vector<std::vector<ui::MenuItem>> menus;
    // When set, this command is chosen from the next menu.
    UINT choose = 0;
};

}  // namespace quorlet::testing
