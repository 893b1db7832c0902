#include "settings/auto_start.h"

#include <gtest/gtest.h>

#include "platform/memory_registry.h"
#include "support/fake_file_system.h"

namespace quorlet {
namespace {

constexpr auto CU = RegistryRoot::CurrentUser;
constexpr auto LM = RegistryRoot::LocalMachine;

// The program's folder, and a drive root that holds the program too.
testing::FakeFileSystem FolderWithProgram(const std::string& current) {
    testing::FakeFileSystem fileSystem;
    fileSystem.current = current;
    fileSystem.files = {"C:\\Program Files\\鸥信通\\quorlet.exe", "D:\\quorlet.exe"};
    return fileSystem;
}

std::string Value(const MemoryRegistry& registry, RegistryRoot root) {
    const auto value = registry.Get(root, kRunKeyPath, kRunValueName);
    return value ? value->data : "(none)";
}

TEST(AutoStart, WritesTheQuotedPathWhereItCanAndDeletesItEverywhere) {
    enum class Refuse { Nothing, MachineOpen, MachineWrite, MachineOpenAndUserCreate };
    struct Case {
        const char* what;
        std::string folder;
        Refuse refuse;
        AutoStartResult result;
        std::string machine;  // the values afterwards, with their terminating zero
        std::string user;
    };
    const std::string quoted = "\"C:\\Program Files\\鸥信通\\quorlet.exe\"";
    const Case cases[] = {
        {"machine key writable: the user's old value goes", "C:\\Program Files\\鸥信通",
         Refuse::Nothing, AutoStartResult::Done, quoted + '\0', "(none)"},
        {"a folder ending in a backslash", "D:\\", Refuse::Nothing, AutoStartResult::Done,
         std::string("\"D:\\quorlet.exe\"") + '\0', "(none)"},
        {"plain user: the user's key", "C:\\Program Files\\鸥信通", Refuse::MachineOpen,
         AutoStartResult::Done, "old", quoted + '\0'},
        {"no program in the folder", "C:\\Windows", Refuse::Nothing, AutoStartResult::NoProgramFile,
         "old", "old"},
        {"the machine's key refuses the value", "C:\\Program Files\\鸥信通", Refuse::MachineWrite,
         AutoStartResult::WriteFailed, "old", "old"},
        {"no key at all takes it", "C:\\Program Files\\鸥信通", Refuse::MachineOpenAndUserCreate,
         AutoStartResult::WriteFailed, "old", "old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryRegistry registry;
        registry.Put(LM, kRunKeyPath, kRunValueName, {RegistryValueType::String, "old"});
        registry.Put(CU, kRunKeyPath, kRunValueName, {RegistryValueType::String, "old"});
        if (c.refuse == Refuse::MachineOpen || c.refuse == Refuse::MachineOpenAndUserCreate) {
            registry.Fail(MemoryRegistry::Operation::Open, LM, kRunKeyPath);
        }
        if (c.refuse == Refuse::MachineOpenAndUserCreate) {
            registry.Fail(MemoryRegistry::Operation::Create, CU, kRunKeyPath);
        }
        if (c.refuse == Refuse::MachineWrite) {
            registry.Fail(MemoryRegistry::Operation::Write, LM, kRunKeyPath);
        }
        testing::FakeFileSystem fileSystem = FolderWithProgram(c.folder);
        EXPECT_EQ(ApplyAutoStart(registry, fileSystem, true), c.result);
        EXPECT_EQ(Value(registry, LM), c.machine);
        EXPECT_EQ(Value(registry, CU), c.user);
    }
}

TEST(AutoStart, ClearingRemovesTheValueFromBothKeys) {
    MemoryRegistry registry;
    testing::FakeFileSystem fileSystem = FolderWithProgram("C:\\Program Files\\鸥信通");
    registry.PutString(LM, kRunKeyPath, kRunValueName, "\"C:\\a\\quorlet.exe\"");
    registry.PutString(CU, kRunKeyPath, kRunValueName, "\"C:\\b\\quorlet.exe\"");
    registry.PutString(CU, kRunKeyPath, "Other", "keep me");
    EXPECT_EQ(ApplyAutoStart(registry, fileSystem, false), AutoStartResult::Done);
    EXPECT_EQ(Value(registry, LM), "(none)");
    EXPECT_EQ(Value(registry, CU), "(none)");
    EXPECT_TRUE(registry.Get(CU, kRunKeyPath, "Other").has_value());
    // Again, with nothing left, and without the right to open the machine's key.
    registry.Fail(MemoryRegistry::Operation::Open, LM, kRunKeyPath);
    EXPECT_EQ(ApplyAutoStart(registry, fileSystem, false), AutoStartResult::Done);
}

TEST(AutoStart, FolderOfACommand) {
    EXPECT_EQ(FolderOfAutoStartCommand("\"C:\\Program Files\\Q\\quorlet.exe\""),
              "C:\\Program Files\\Q");
    EXPECT_EQ(FolderOfAutoStartCommand("C:\\Q\\quorlet.exe"), "C:\\Q");
    EXPECT_EQ(FolderOfAutoStartCommand("\"C:\\Q\\quorlet.exe\" /min"), "C:\\Q");
    EXPECT_EQ(FolderOfAutoStartCommand("quorlet.exe"), std::nullopt);
    EXPECT_EQ(FolderOfAutoStartCommand("\""), std::nullopt);
}

}  // namespace
}  // namespace quorlet
