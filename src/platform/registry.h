// The registry as the settings store sees it. Text is GBK; a value's data is given as the ANSI
// registry functions would return it (GBK bytes, with the terminating NUL when one is stored), so
// that the readers' buffer limits count the same bytes on every platform.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorlet {

enum class RegistryRoot { CurrentUser, ClassesRoot, LocalMachine };

enum class RegistryValueType { String, Binary, Other };

struct RegistryValue {
    RegistryValueType type = RegistryValueType::String;
    std::string data;
};

class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // The value's data, or nullopt when it is missing or cannot be read.
    virtual std::optional<RegistryValue> Query(std::string_view name) = 0;

    // REG_SZ; with terminator false the NUL is not stored (the one-character flags).
    virtual bool SetString(std::string_view name, std::string_view text, bool terminator) = 0;
    // REG_BINARY.
    virtual bool SetBinary(std::string_view name, std::string_view bytes) = 0;
    // Deletes a value; false when it is missing or cannot be deleted.
    virtual bool DeleteValue(std::string_view name) = 0;
    // Deletes a subkey that has no subkeys of its own.
    virtual bool DeleteSubKey(std::string_view name) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;

    // Creates the key, or opens it when it exists, with full access. classText is the class
    // string a new key is created with. nullptr on failure.
    virtual std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, std::string_view path,
                                                   std::string_view classText) = 0;
    // Opens an existing key for reading, or for reading and writing. nullptr on failure.
    virtual std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                                 bool writable) = 0;
};

// The text of a value read into a zeroed buffer of bufferSize bytes: data longer than the buffer
// fails to read, the text ends at the first NUL, and a text that leaves no room for a terminator
// fails too. So at most bufferSize - 1 characters are ever accepted.
std::optional<std::string> ReadRegistryText(RegistryKey& key, std::string_view name,
                                            std::size_t bufferSize);

// The bytes of a value read into a zeroed buffer of bufferSize bytes (nullopt when longer).
std::optional<std::string> ReadRegistryBytes(RegistryKey& key, std::string_view name,
                                             std::size_t bufferSize);

}  // namespace quorlet
