#include "platform/memory_registry.h"

#include "base/gbk_text.h"

namespace quorlet {
namespace {

std::string Upper(std::string_view text) {
    return gbk::ToUpperAscii(text);
}

std::string ParentOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

class MemoryRegistry::Key final : public RegistryKey {
public:
    Key(MemoryRegistry& owner, KeyId id, bool writable)
        : m_owner(owner), m_id(std::move(id)), m_writable(writable) {}

    std::optional<RegistryValue> Query(std::string_view name) override {
        KeyData* data = m_owner.Find(m_id);
        if (data == nullptr || m_owner.Fails(Operation::Read, m_id, name)) {
            return std::nullopt;
        }
        const auto it = data->values.find(Upper(name));
        if (it == data->values.end()) {
            return std::nullopt;
        }
        return it->second;
    }

    bool SetString(std::string_view name, std::string_view text, bool terminator) override {
        std::string data(text);
        if (terminator) {
            data += '\0';
        }
        return Set(name, {RegistryValueType::String, std::move(data)});
    }

    bool SetBinary(std::string_view name, std::string_view bytes) override {
        return Set(name, {RegistryValueType::Binary, std::string(bytes)});
    }

    // A deletion is a write to the key: a read-only handle or a failing write refuses it.
    bool DeleteValue(std::string_view name) override {
        KeyData* data = m_owner.Find(m_id);
        if (!m_writable || data == nullptr || m_owner.Fails(Operation::Write, m_id, name)) {
            return false;
        }
        return data->values.erase(Upper(name)) == 1;
    }

    bool DeleteSubKey(std::string_view name) override {
        const KeyId child{m_id.first, m_id.second + "\\" + Upper(name)};
        // As with the real registry, the access of the parent handle does not matter here.
        if (m_owner.Find(child) == nullptr || m_owner.Fails(Operation::Delete, child, {})) {
            return false;
        }
        for (const auto& [id, data] : m_owner.m_keys) {
            if (id.first == child.first && ParentOf(id.second) == child.second) {
                return false;  // the key still has subkeys
            }
        }
        m_owner.m_keys.erase(child);
        return true;
    }

private:
    bool Set(std::string_view name, RegistryValue value) {
        KeyData* data = m_owner.Find(m_id);
        if (!m_writable || data == nullptr || m_owner.Fails(Operation::Write, m_id, name)) {
            return false;
        }
        data->values[Upper(name)] = std::move(value);
        return true;
    }

    MemoryRegistry& m_owner;
    KeyId m_id;
    bool m_writable;
};

MemoryRegistry::KeyId MemoryRegistry::IdOf(RegistryRoot root, std::string_view path) {
    return {root, Upper(path)};
}

bool MemoryRegistry::Fails(Operation operation, const KeyId& key,
                           std::string_view valueName) const {
    return m_failures.count({operation, key, std::string()}) > 0 ||
           (!valueName.empty() && m_failures.count({operation, key, Upper(valueName)}) > 0);
}

MemoryRegistry::KeyData* MemoryRegistry::Find(const KeyId& id) {
    const auto it = m_keys.find(id);
    return it == m_keys.end() ? nullptr : &it->second;
}

std::unique_ptr<RegistryKey> MemoryRegistry::CreateKey(RegistryRoot root, std::string_view path,
                                                       std::string_view classText) {
    const KeyId id = IdOf(root, path);
    if (Fails(Operation::Create, id, {})) {
        return nullptr;
    }
    // Like the real registry, missing parent keys are created along the way.
    for (std::string p = id.second; !p.empty(); p = ParentOf(p)) {
        m_keys.try_emplace({root, p}, KeyData{std::string(classText), {}});
    }
    return std::make_unique<Key>(*this, id, true);
}

std::unique_ptr<RegistryKey> MemoryRegistry::OpenKey(RegistryRoot root, std::string_view path,
                                                     bool writable) {
    const KeyId id = IdOf(root, path);
    if (Find(id) == nullptr || Fails(Operation::Open, id, {})) {
        return nullptr;
    }
    return std::make_unique<Key>(*this, id, writable);
}

void MemoryRegistry::Fail(Operation operation, RegistryRoot root, std::string_view path,
                          std::string_view valueName) {
    m_failures.insert({operation, IdOf(root, path), Upper(valueName)});
}

void MemoryRegistry::Put(RegistryRoot root, std::string_view path, std::string_view name,
                         RegistryValue value) {
    const KeyId id = IdOf(root, path);
    for (std::string p = id.second; !p.empty(); p = ParentOf(p)) {
        m_keys.try_emplace({root, p});
    }
    m_keys[id].values[Upper(name)] = std::move(value);
}

std::optional<RegistryValue> MemoryRegistry::Get(RegistryRoot root, std::string_view path,
                                                 std::string_view name) const {
    const auto key = m_keys.find(IdOf(root, path));
    if (key == m_keys.end()) {
        return std::nullopt;
    }
    const auto value = key->second.values.find(Upper(name));
    if (value == key->second.values.end()) {
        return std::nullopt;
    }
    return value->second;
}

bool MemoryRegistry::KeyExists(RegistryRoot root, std::string_view path) const {
    return m_keys.count(IdOf(root, path)) > 0;
}

std::string MemoryRegistry::ClassOf(RegistryRoot root, std::string_view path) const {
    const auto key = m_keys.find(IdOf(root, path));
    return key == m_keys.end() ? std::string() : key->second.classText;
}

void MemoryRegistry::RemoveKey(RegistryRoot root, std::string_view path) {
    m_keys.erase(IdOf(root, path));
}

}  // namespace quorlet
