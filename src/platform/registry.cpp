#include "platform/registry.h"

namespace quorlet {

std::optional<std::string> ReadRegistryBytes(RegistryKey& key, std::string_view name,
                                             std::size_t bufferSize) {
    auto value = key.Query(name);
    if (!value || value->data.size() > bufferSize) {
        return std::nullopt;
    }
    return std::move(value->data);
}

std::optional<std::string> ReadRegistryText(RegistryKey& key, std::string_view name,
                                            std::size_t bufferSize) {
    auto bytes = ReadRegistryBytes(key, name, bufferSize);
    if (!bytes) {
        return std::nullopt;
    }
    const std::size_t nul = bytes->find('\0');
    if (nul != std::string::npos) {
        bytes->resize(nul);
    }
    if (bytes->size() >= bufferSize) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace quorlet
