// Loads and saves the settings record and the account table in the registry, deletes the keys
// of removed accounts, and finds the program's folder. Failures are reported by message boxes
// and the store goes on with what it could do.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/prompter.h"
#include "platform/registry.h"
#include "settings/account_record.h"
#include "settings/main_settings.h"

namespace quorlet {

class SettingsStore {
public:
    SettingsStore(Registry& registry, Prompter& prompter, FileSystem& fileSystem)
        : m_registry(registry), m_prompter(prompter), m_fileSystem(fileSystem) {}

    // Reads what is stored over the (already reset) record and table. False only when the root
    // key cannot be created; start-up then stops.
    bool Load(MainSettings& settings, AccountTable& accounts);

    // Writes everything; always completes.
    void Save(const MainSettings& settings, const AccountTable& accounts);

    // Removes the keys of accounts newCount .. oldCount-1 after the table shrank.
    void DeleteTrailingAccounts(std::size_t newCount, std::size_t oldCount);

    // Makes the program folder the current directory.
    void FindProgramFolder();

private:
    void LoadMainValues(RegistryKey& main, MainSettings& settings, int& total);
    void LoadStartupPassword(MainSettings& settings);
    void SaveMainValues(RegistryKey& main, const MainSettings& settings, std::size_t total);
    void SaveStartupPassword(const MainSettings& settings);

    Registry& m_registry;
    Prompter& m_prompter;
    FileSystem& m_fileSystem;
};

}  // namespace quorlet
