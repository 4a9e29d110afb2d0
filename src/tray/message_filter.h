// Which messages a replaced window procedure hands to its owner: one list handled before
// the window's previous procedure and one after, up to 32 messages each or all messages;
// and the texts of the reports when attaching or changing the lists fails. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

enum class MessageWhen { Before, After };

class MessageFilter {
public:
    static constexpr std::size_t kEntries = 32;
    static constexpr std::uint32_t kAllMessages = 0xFFFFFFFF;  // -1: every message

    // Empty when done, else the failure text. kAllMessages takes every message; a message
    // already handled is not listed twice.
    std::string Add(MessageWhen when, std::uint32_t msg);
    // Empty when done, else the failure text. kAllMessages empties the list; a single
    // message that is not listed (also while the list takes all) cannot be removed.
    std::string Remove(MessageWhen when, std::uint32_t msg);
    bool Handles(MessageWhen when, std::uint32_t msg) const;

private:
    struct List {
        bool all = false;
        std::vector<std::uint32_t> messages;
    };
    List lists_[2];
};

// The failure texts of attaching a message handler to a window.
inline constexpr const char* kInvalidWindow = "Invalid window handle";
inline constexpr const char* kForeignWindow = "Window handle belongs to another process";
std::string SetWindowLongFailed(std::uint32_t error);
std::string MessageNotFound(std::uint32_t msg);

// A failure report of the class `owner` in one of its routines: the event log's line, and
// the warning box's title and text.
struct HookReport {
    std::string owner, routine, message;
    std::string LogText() const { return owner + "." + routine + ": " + message; }
    std::string BoxTitle() const { return "Error in " + owner + "." + routine; }
    std::string BoxText() const { return message + "."; }
};

}  // namespace orv
