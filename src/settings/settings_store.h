// The per-application settings store: text values by application, section and key.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace orv {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nullopt when the key is missing.
    virtual std::optional<std::string> Get(std::string_view section, std::string_view key) = 0;
    // Creates section and key as needed.
    virtual bool Set(std::string_view section, std::string_view key, std::string_view text) = 0;

    std::string Read(std::string_view section, std::string_view key, std::string_view fallback) {
        auto v = Get(section, key);
        return v ? *v : std::string(fallback);
    }
};

// A store in memory: the fake for tests and a scratch store.
class MemoryStore final : public SettingsStore {
public:
    std::optional<std::string> Get(std::string_view section, std::string_view key) override {
        auto it = values_.find({std::string(section), std::string(key)});
        if (it == values_.end()) return std::nullopt;
        return it->second;
    }
    bool Set(std::string_view section, std::string_view key, std::string_view text) override {
        values_[{std::string(section), std::string(key)}] = std::string(text);
        ++writes_;
        return true;
    }
    int Writes() const { return writes_; }
    std::size_t Size() const { return values_.size(); }

private:
    std::map<std::tuple<std::string, std::string>, std::string> values_;
    int writes_ = 0;
};

}  // namespace orv
