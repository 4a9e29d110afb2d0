// Error entries in the system's application event log, under the product's name as the
// source. The tray icon and the button control write their window hooks' failures there.
#pragma once

#include <string_view>

namespace orv {

// False when the entry could not be written (no event log service, no rights).
bool ReportErrorEvent(std::string_view text);

}  // namespace orv
