#include <gtest/gtest.h>

#include "platform/memory_registry.h"

namespace quorlet {
namespace {

constexpr auto CU = RegistryRoot::CurrentUser;

TEST(RegistryText, BufferLimitsCountStoredBytes) {
    MemoryRegistry registry;
    registry.PutString(CU, "K", "nine", "123456789");  // 10 bytes with NUL
    registry.Put(CU, "K", "tenBare", {RegistryValueType::String, "1234567890"});
    registry.PutString(CU, "K", "ten", "1234567890");  // 11 bytes
    registry.Put(CU, "K", "nineBare", {RegistryValueType::String, "123456789"});
    auto key = registry.OpenKey(CU, "K", false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(ReadRegistryText(*key, "nine", 10), "123456789");
    EXPECT_EQ(ReadRegistryText(*key, "nineBare", 10), "123456789");
    // Ten characters never fit a 10-byte buffer, with or without their terminator.
    EXPECT_EQ(ReadRegistryText(*key, "tenBare", 10), std::nullopt);
    EXPECT_EQ(ReadRegistryText(*key, "ten", 10), std::nullopt);
    EXPECT_EQ(ReadRegistryText(*key, "ten", 255), "1234567890");
    EXPECT_EQ(ReadRegistryText(*key, "absent", 255), std::nullopt);
    EXPECT_EQ(ReadRegistryBytes(*key, "ten", 11)->size(), 11u);
}

TEST(MemoryRegistry, BehavesLikeTheRegistryForTheProgramsOperations) {
    MemoryRegistry registry;
    EXPECT_EQ(registry.OpenKey(CU, "Software\\Quorlet", false), nullptr);
    auto created = registry.CreateKey(CU, "Software\\Quorlet\\Main", "HKEY_CURRENT_USER");
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(registry.KeyExists(CU, "SOFTWARE\\QUORLET"));  // parents too, any case
    EXPECT_TRUE(created->SetString("Hide", "1", false));
    EXPECT_EQ(registry.Get(CU, "software\\quorlet\\main", "HIDE")->data, "1");

    auto readOnly = registry.OpenKey(CU, "Software\\Quorlet\\Main", false);
    EXPECT_FALSE(readOnly->SetString("Hide", "0", false));
    EXPECT_EQ(readOnly->Query("hide")->data, "1");

    auto root = registry.OpenKey(CU, "Software\\Quorlet", false);
    registry.CreateKey(CU, "Software\\Quorlet\\Main\\Child", "");
    EXPECT_FALSE(root->DeleteSubKey("Main"));  // still has a subkey
    registry.RemoveKey(CU, "Software\\Quorlet\\Main\\Child");
    EXPECT_TRUE(root->DeleteSubKey("Main"));
    EXPECT_FALSE(registry.KeyExists(CU, "Software\\Quorlet\\Main"));
    EXPECT_FALSE(root->DeleteSubKey("Main"));
}

TEST(MemoryRegistry, InjectedFailures) {
    MemoryRegistry registry;
    registry.Fail(MemoryRegistry::Operation::Write, CU, "K", "Total");
    registry.Fail(MemoryRegistry::Operation::Read, CU, "K");
    auto key = registry.CreateKey(CU, "K", "");
    EXPECT_FALSE(key->SetString("Total", "1", true));
    EXPECT_TRUE(key->SetString("Other", "1", true));
    EXPECT_EQ(key->Query("Other"), std::nullopt);
    registry.ClearFailures();
    EXPECT_EQ(key->Query("Other")->data, std::string("1\0", 2));
    registry.Fail(MemoryRegistry::Operation::Open, CU, "K");
    EXPECT_EQ(registry.OpenKey(CU, "k", false), nullptr);
    registry.Fail(MemoryRegistry::Operation::Create, CU, "K");
    EXPECT_EQ(registry.CreateKey(CU, "K", ""), nullptr);
}

}  // namespace
}  // namespace quorlet
