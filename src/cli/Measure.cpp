#include "cli/Measure.h"

#include <cwchar>
#include <iterator>
#include <limits>

#include "benchmark/Run.h"
#include "cli/AutoCount.h"
#include "platform/Dialogs.h"
#include "platform/Font.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "ui/SystemFont.h"

namespace {

std::wstring Widen(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

// The version the system reports, which GetVersionEx would cap by manifest.
std::wstring WindowsVersion() {
    using RtlGetVersionProc = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto rtlGetVersion =
        ntdll ? reinterpret_cast<RtlGetVersionProc>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
              : nullptr;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!rtlGetVersion || rtlGetVersion(&info) != 0) return L"unknown";
    return std::to_wstring(info.dwMajorVersion) + L"." + std::to_wstring(info.dwMinorVersion) + L"." +
           std::to_wstring(info.dwBuildNumber);
}

// Only Wine's ntdll exports this.
std::wstring WineVersion() {
    using WineGetVersionProc = const char*(CDECL*)();
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto wineGetVersion =
        ntdll ? reinterpret_cast<WineGetVersionProc>(reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")))
              : nullptr;
    if (!wineGetVersion) return L"";
    const char* version = wineGetVersion();
    return version ? Widen(version) : L"";
}

std::wstring UtcNow() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    wchar_t text[32];
    swprintf(text, 32, L"%04u-%02u-%02uT%02u:%02u:%02uZ", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
             now.wSecond);
    return text;
}

// The size as a count box would hold it: digits that read back exactly.
std::wstring SizeText(double size) {
    wchar_t text[40];
    swprintf(text, 40, L"%.17g", size);
    return text;
}

// A run whose values were checked already has nothing to report.
struct IgnoringSink : IReportSink {
    void AppendResult(double, std::int32_t, const SharedFont&) override {}
};

}  // namespace

RunContext SystemContext(const CliOptions& options, std::size_t textBytes) {
    RunContext context;
    context.Version = CliVersion();
    context.Bits = static_cast<int>(sizeof(void*) * 8);
    context.WindowsVersion = WindowsVersion();
    context.WineVersion = WineVersion();
    context.AnsiCodePage = GetACP();
    context.Dpi = ScreenDpi();
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    context.CounterFrequency = static_cast<std::uint64_t>(frequency.QuadPart);
    context.Date = UtcNow();
    context.Text = options.Text;
    context.TextBytes = textBytes;
    context.Count = options.Count;
    context.TargetSeconds = options.TargetSeconds;
    context.Repetitions = options.Repetitions;
    context.Warmup = options.Warmup;
    context.Flush = options.Flush;
    return context;
}

std::wstring DefaultFace() {
    FontSpec menu = SystemMenuFont(nullptr);
    if (IsScreenFont(menu.Name)) return menu.Name;
    return ::RealizedFace(MakeFont(menu)->Handle());
}

CanvasBench::CanvasBench(frmCanvas& canvas, const std::wstring& text)
    : canvas_(canvas), text_(text), ansi_(ToAnsi(text)) {
    length_ = lstrlenA(ansi_.c_str());
}

bool CanvasBench::Prepare(const Configuration& config) {
    config_ = config;
    RunSettings settings;
    settings.Text = text_;
    settings.Count = L"0";
    settings.Face = config.Face;
    settings.Size = SizeText(config.Size);
    settings.Bold = config.Bold ? 1 : 0;
    settings.Italic = config.Italic ? 1 : 0;
    settings.Opaque = config.Opaque ? 1 : 0;
    IgnoringSink sink;
    // What the interactive program's message loop does between two runs.
    ProcessPendingMessages();
    const RunOutcome outcome = RunBenchmark(nullptr, canvas_, settings, SharedFont(), sink);
    return outcome.Refused == RunField::None && canvas_.IsOpen() && canvas_.hDC() != nullptr;
}

std::wstring CanvasBench::RealizedFace() const {
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(canvas_.hDC(), static_cast<int>(std::size(face)), face);
    return face;
}

double CanvasBench::Pass(std::int32_t count, bool flush) {
    if (!Prepare(config_)) return std::numeric_limits<double>::quiet_NaN();
    HDC dc = canvas_.hDC();
    return flush ? TimeDrawLoopFlushed(dc, ansi_.c_str(), length_, count)
                 : TimeDrawLoop(dc, ansi_.c_str(), length_, count);
}

Measurement MeasureConfiguration(CanvasBench& bench, const Configuration& config, const CliOptions& options) {
    Measurement m;
    m.Config = config;
    m.RealizedFace = bench.RealizedFace();
    m.Substituted =
        CompareStringOrdinal(m.RealizedFace.c_str(), -1, config.Face.c_str(), -1, TRUE) != CSTR_EQUAL;

    const bool flush = options.Flush;
    m.Count = options.Count ? *options.Count
                            : FindAutoCount([&](std::int32_t count) { return bench.Pass(count, flush); },
                                            options.TargetSeconds * 1000);
    for (int i = 0; i < options.Warmup; ++i) bench.Pass(m.Count, flush);
    for (int i = 0; i < options.Repetitions; ++i) m.PerCallMs.push_back(bench.Pass(m.Count, flush) / m.Count);
    m.Stats = Summarize(m.PerCallMs);
    return m;
}
