// The accounting objects of the main window, wired to a simulated line, a clock that the test
// moves, scripted message boxes and files in a fresh folder.
#pragma once

#include <string>
#include <vector>

#include "base/profile_file.h"
#include "dialup/dial_state.h"
#include "dialup/fee_calculator.h"
#include "dialup/online_recorder.h"
#include "dialup/plan_check.h"
#include "platform/clock.h"
#include "platform/profile_files.h"
#include "platform/simulated_remote_access.h"
#include "platform/sound.h"
#include "settings/main_settings.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace quorlet::testing {

class RecordingSound final : public Sound {
public:
    void PlayFileAsync(const std::string& path) override { played.push_back(path); }
    std::vector<std::string> played;
};

// December 2026: the 7th is a Monday.
inline CivilTime Dec(int day, int hour, int minute = 0, int second = 0) {
    return {2026, 12, day, hour, minute, second};
}

struct AccountingFixture {
    AccountingFixture()
        : fees(dir.File("Fare.ini"), dir.File("Holiday.ini")),
          recorder(ras, dial, clock, prompter, settings, fees, dir.File("Fee.ini")),
          plans(ras, dial, clock, sound, settings, fees, recorder) {
        ras.SetEntries({"163", "Office"});
        SimulatedRemoteAccess::DialScript script;
        script.states = SimulatedRemoteAccess::StandardStates();
        script.delayMs = 0;
        ras.SetDialScript(script);
    }

    // The program dials its own connection, as the dial-up window does.
    void DialOwn(const std::string& entry = "163") {
        ras.Dial(entry, "user", "pw", nullptr, dial.hConn);
        ras.WaitUntilIdle();
        dial.bOnline = true;
    }

    std::string Log(const std::string& section, const std::string& key) const {
        return ReadProfileValue(dir.File("Fee.ini"), section, key, "(none)", 255);
    }

    TempDir dir;
    SimulatedRemoteAccess ras;
    DialState dial;
    ManualClock clock{Dec(7, 12)};
    ScriptedPrompter prompter;
    RecordingSound sound;
    MainSettings settings;
    FeeCalculator fees;
    OnlineRecorder recorder;
    PlanChecker plans;
};

}  // namespace quorlet::testing
