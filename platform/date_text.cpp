#include "platform/date_text.h"

namespace grabwell::platform {

namespace {
std::wstring Format(const SYSTEMTIME& time, bool date) {
    wchar_t buffer[128] = {};
    const int length =
        date ? ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, buffer,
                                 static_cast<int>(std::size(buffer)), nullptr)
             : ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, buffer,
                                 static_cast<int>(std::size(buffer)));
    return length > 0 ? std::wstring(buffer) : std::wstring();
}
}  // namespace

std::wstring GeneralDateText(const SYSTEMTIME& time) {
    std::wstring text = Format(time, true);
    if (time.wHour == 0 && time.wMinute == 0 && time.wSecond == 0) return text;
    return text + L" " + Format(time, false);
}

}  // namespace grabwell::platform
