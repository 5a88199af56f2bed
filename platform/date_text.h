#pragma once
#include <string>

#include "platform/win32.h"

namespace grabwell::platform {

// The user's general date format: short date, a space, long time; at exactly
// midnight the time is left out.
std::wstring GeneralDateText(const SYSTEMTIME& time);

}  // namespace grabwell::platform
