#include "platform/System.h"

#include <cstdio>

#include "platform/Window.h"

namespace {

// ntdll's own export, or nullptr; Wine's ntdll alone has wine_get_version.
template <typename Proc>
Proc NtdllProc(const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

// The version the system reports, which GetVersionEx would cap by manifest.
std::string WindowsVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    auto rtlGetVersion = NtdllProc<LONG(WINAPI*)(OSVERSIONINFOW*)>("RtlGetVersion");
    if (!rtlGetVersion || rtlGetVersion(&info) != 0) return "unknown";
    return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "." +
           std::to_string(info.dwBuildNumber);
}

std::string WineVersion() {
    auto wineGetVersion = NtdllProc<const char*(CDECL*)()>("wine_get_version");
    const char* version = wineGetVersion ? wineGetVersion() : nullptr;
    return version ? version : "";
}

std::string UtcNow() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

}  // namespace

SystemDescription DescribeSystem() {
    SystemDescription system;
    system.WindowsVersion = WindowsVersion();
    system.WineVersion = WineVersion();
    system.AnsiCodePage = GetACP();
    system.Dpi = ScreenDpi();
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    system.CounterFrequency = static_cast<std::uint64_t>(frequency.QuadPart);
    system.Date = UtcNow();
    return system;
}

bool ThreadConditions::Apply(bool highPriority, std::optional<int> cpu) {
    if (highPriority) {
        oldPriority_ = GetThreadPriority(GetCurrentThread());
        raised_ = SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST) != 0;
    }
    if (!cpu) return true;
    // A processor past the mask's width is one this build cannot pin to.
    if (*cpu < 0 || *cpu >= static_cast<int>(sizeof(DWORD_PTR) * 8)) return false;
    oldAffinity_ = SetThreadAffinityMask(GetCurrentThread(), DWORD_PTR{1} << *cpu);
    return oldAffinity_ != 0;
}

ThreadConditions::~ThreadConditions() {
    if (oldAffinity_) SetThreadAffinityMask(GetCurrentThread(), oldAffinity_);
    if (raised_) SetThreadPriority(GetCurrentThread(), oldPriority_);
}
