#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide_text.h"

namespace quorlet {
namespace {

HKEY RootHandle(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::CurrentUser:
            return HKEY_CURRENT_USER;
        case RegistryRoot::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case RegistryRoot::LocalMachine:
            return HKEY_LOCAL_MACHINE;
    }
    return HKEY_CURRENT_USER;
}

class Win32Key final : public RegistryKey {
public:
    explicit Win32Key(HKEY key) : m_key(key) {}
    ~Win32Key() override { RegCloseKey(m_key); }
    Win32Key(const Win32Key&) = delete;
    Win32Key& operator=(const Win32Key&) = delete;

    std::optional<RegistryValue> Query(std::string_view name) override {
        const std::wstring wideName = win32::ToWide(name);
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(m_key, wideName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::vector<BYTE> data(size + sizeof(wchar_t));
        if (RegQueryValueExW(m_key, wideName.c_str(), nullptr, &type, data.data(), &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        data.resize(size);
        RegistryValue value;
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            // Give the bytes the ANSI functions would give: GBK text, plus the NUL when the
            // stored text has one.
            std::wstring text(reinterpret_cast<const wchar_t*>(data.data()),
                              size / sizeof(wchar_t));
            const bool terminated = !text.empty() && text.find(L'\0') != std::wstring::npos;
            std::string ansi;
            if (terminated) {
                ansi = win32::FromWide(text.substr(0, text.find(L'\0')));
                ansi += '\0';
            } else {
                ansi = win32::FromWide(text);
            }
            value.type = RegistryValueType::String;
            value.data = std::move(ansi);
        } else {
            value.type = type == REG_BINARY ? RegistryValueType::Binary : RegistryValueType::Other;
            value.data.assign(data.begin(), data.end());
        }
        return value;
    }

    bool SetString(std::string_view name, std::string_view text, bool terminator) override {
        std::wstring wide = win32::ToWide(text);
        DWORD bytes = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
        if (terminator) {
            bytes += sizeof(wchar_t);
        } else {
            // The system counts a NUL that follows the data in memory as a forgotten
            // terminator and stores it; a non-zero character there keeps the value bare.
            wide += L'\xFFFF';
        }
        return RegSetValueExW(m_key, win32::ToWide(name).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(wide.c_str()), bytes) == ERROR_SUCCESS;
    }

    bool SetBinary(std::string_view name, std::string_view bytes) override {
        return RegSetValueExW(m_key, win32::ToWide(name).c_str(), 0, REG_BINARY,
                              reinterpret_cast<const BYTE*>(bytes.data()),
                              static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    }

    bool DeleteValue(std::string_view name) override {
        return RegDeleteValueW(m_key, win32::ToWide(name).c_str()) == ERROR_SUCCESS;
    }

    bool DeleteSubKey(std::string_view name) override {
        return RegDeleteKeyW(m_key, win32::ToWide(name).c_str()) == ERROR_SUCCESS;
    }

private:
    HKEY m_key;
};

class Win32Registry final : public Registry {
public:
    std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, std::string_view path,
                                           std::string_view classText) override {
        std::wstring wideClass = win32::ToWide(classText);
        HKEY key = nullptr;
        DWORD disposition = 0;
        if (RegCreateKeyExW(RootHandle(root), win32::ToWide(path).c_str(), 0, wideClass.data(),
                            REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                            &disposition) != ERROR_SUCCESS) {
            return nullptr;
        }
        return std::make_unique<Win32Key>(key);
    }

    std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                         bool writable) override {
        HKEY key = nullptr;
        const REGSAM access = writable ? KEY_READ | KEY_WRITE : KEY_READ;
        if (RegOpenKeyExW(RootHandle(root), win32::ToWide(path).c_str(), 0, access, &key) !=
            ERROR_SUCCESS) {
            return nullptr;
        }
        return std::make_unique<Win32Key>(key);
    }
};

}  // namespace

Registry& SystemRegistry() {
    static Win32Registry registry;
    return registry;
}

}  // namespace quorlet
