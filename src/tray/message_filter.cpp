#include "tray/message_filter.h"

#include <algorithm>
#include <cstdio>

namespace orv {

std::string MessageFilter::Add(MessageWhen when, std::uint32_t msg) {
    List& list = lists_[static_cast<int>(when)];
    if (msg == kAllMessages) {
        list = {true, {}};
        return {};
    }
    if (list.all || std::ranges::find(list.messages, msg) != list.messages.end()) return {};
    if (list.messages.size() >= kEntries)
        return "Message table overflow. Either increase the value of Const MSG_ENTRIES or use ALL_MESSAGES instead of "
               "specific message values";
    list.messages.push_back(msg);
    return {};
}

std::string MessageFilter::Remove(MessageWhen when, std::uint32_t msg) {
    List& list = lists_[static_cast<int>(when)];
    if (msg == kAllMessages) {
        list = {};
        return {};
    }
    const auto it = std::ranges::find(list.messages, msg);
    if (it == list.messages.end()) return MessageNotFound(msg);
    list.messages.erase(it);
    return {};
}

bool MessageFilter::Handles(MessageWhen when, std::uint32_t msg) const {
    const List& list = lists_[static_cast<int>(when)];
    return list.all || std::ranges::find(list.messages, msg) != list.messages.end();
}

std::string SetWindowLongFailed(std::uint32_t error) { return "SetWindowLong failed, error #" + std::to_string(error); }

std::string MessageNotFound(std::uint32_t msg) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(msg));
    return std::string("Message &H") + hex + " not found in table";
}

}  // namespace orv
