#include "platform/Locale.h"

#include <windows.h>

#include <iterator>


namespace {

std::wstring LocaleString(LCTYPE type, const wchar_t* fallback) {
    wchar_t buffer[32];
    int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, static_cast<int>(std::size(buffer)));
    return length > 1 ? std::wstring(buffer, static_cast<size_t>(length) - 1) : fallback;
}

}  // namespace

NumberSeparators UserNumberSeparators() {
    NumberSeparators separators;
    separators.Decimal = LocaleString(LOCALE_SDECIMAL, L".");
    separators.Thousand = LocaleString(LOCALE_STHOUSAND, L",");
    separators.Minus = LocaleString(LOCALE_SNEGATIVESIGN, L"-");
    separators.Grouping.clear();
    for (wchar_t c : LocaleString(LOCALE_SGROUPING, L"3;0"))
        if (c >= L'0' && c <= L'9') separators.Grouping.push_back(c - L'0');
    // "3;0" means groups of three all the way; "3" alone means one group.
    if (!separators.Grouping.empty() && separators.Grouping.back() == 0)
        separators.Grouping.pop_back();
    else if (!separators.Grouping.empty())
        separators.Grouping.push_back(0);
    return separators;
}

std::wstring NowGeneralDateText() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t date[128] = L"";
    wchar_t time[128] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, static_cast<int>(std::size(date)));
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, static_cast<int>(std::size(time)));
    const bool midnight = now.wHour == 0 && now.wMinute == 0 && now.wSecond == 0;
    return GeneralDateText(date, time, midnight);
}
