// A registry held in memory, for tests: it behaves like the real one for the operations the
// program uses and can be told to fail any of them, so that every failure path of the settings
// store can be reached.
#pragma once

#include <map>
#include <set>
#include <string>
#include <tuple>

#include "platform/registry.h"

namespace quorlet {

class MemoryRegistry final : public Registry {
public:
    enum class Operation { Create, Open, Read, Write, Delete };

    std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, std::string_view path,
                                           std::string_view classText) override;
    std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                         bool writable) override;

    // Makes an operation fail from now on. For Read and Write, valueName limits the failure to
    // one value (empty: every value of the key); for Delete, path is the key being deleted.
    void Fail(Operation operation, RegistryRoot root, std::string_view path,
              std::string_view valueName = {});
    void ClearFailures() { m_failures.clear(); }

    // Direct access for setting up and checking a test.
    void Put(RegistryRoot root, std::string_view path, std::string_view name, RegistryValue value);
    void PutString(RegistryRoot root, std::string_view path, std::string_view name,
                   std::string_view text) {
        Put(root, path, name, {RegistryValueType::String, std::string(text) + '\0'});
    }
    std::optional<RegistryValue> Get(RegistryRoot root, std::string_view path,
                                     std::string_view name) const;
    bool KeyExists(RegistryRoot root, std::string_view path) const;
    std::string ClassOf(RegistryRoot root, std::string_view path) const;
    void RemoveKey(RegistryRoot root, std::string_view path);

private:
    class Key;
    struct KeyData {
        std::string classText;
        std::map<std::string, RegistryValue> values;  // by upper-cased name
    };
    using KeyId = std::pair<RegistryRoot, std::string>;  // upper-cased path

    static KeyId IdOf(RegistryRoot root, std::string_view path);
    bool Fails(Operation operation, const KeyId& key, std::string_view valueName) const;
    KeyData* Find(const KeyId& id);

    std::map<KeyId, KeyData> m_keys;
    std::set<std::tuple<Operation, KeyId, std::string>> m_failures;
};

}  // namespace quorlet
