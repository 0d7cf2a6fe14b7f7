#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/Compare.h"
#include "cli/Measure.h"
#include "cli/Report.h"
#include "cli/Utf8.h"
#include "platform/Dialogs.h"
#include "platform/Font.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// A real console gets UTF-16 through WriteConsoleW, which shows every face
// name whatever the console's code page; a pipe or a file gets UTF-8.
void Write(DWORD stream, const std::wstring& text) {
    HANDLE handle = GetStdHandle(stream);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(handle, &mode)) {
        // Older consoles refuse very long writes.
        constexpr size_t kChunk = 8192;
        for (size_t at = 0; at < text.size(); at += kChunk) {
            const DWORD length = static_cast<DWORD>(std::min(kChunk, text.size() - at));
            WriteConsoleW(handle, text.data() + at, length, &written, nullptr);
        }
        return;
    }
    const std::string bytes = ToUtf8(text);
    size_t at = 0;
    while (at < bytes.size()) {
        if (!WriteFile(handle, bytes.data() + at, static_cast<DWORD>(bytes.size() - at), &written, nullptr) ||
            written == 0)
            return;
        at += written;
    }
}

void Out(const std::wstring& text) { Write(STD_OUTPUT_HANDLE, text); }
void Err(const std::wstring& text) { Write(STD_ERROR_HANDLE, std::wstring(kCliProgramName) + L": " + text + L"\n"); }

int Usage(const std::wstring& message) {
    Err(message);
    return kExitUsage;
}

bool ReadFileText(const std::wstring& path, std::wstring& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr) != 0) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    text = FromUtf8(bytes);
    return ok;
}

int Compare(const CliOptions& options) {
    ResultFile files[2];
    const std::wstring* names[2] = {&options.CompareOld, &options.CompareNew};
    for (int i = 0; i < 2; ++i) {
        std::wstring text, error;
        if (!ReadFileText(*names[i], text)) return Usage(L"--compare: cannot read \"" + *names[i] + L"\"");
        std::optional<ResultFile> file = ReadResults(text, error);
        if (!file)
            return Usage(L"--compare: \"" + *names[i] + L"\" is not a JSON or CSV output of this program (" + error +
                         L")");
        files[i] = *file;
    }
    Out(CompareReport(options.CompareOld, files[0], options.CompareNew, files[1], options.Format));
    return 0;
}

int Measure(CliOptions options) {
    if (options.Faces.empty()) options.Faces.push_back(DefaultFace());
    if (options.Sizes.empty()) options.Sizes.push_back(kDefaultSize);
    // Every face is checked before anything is measured.
    for (const std::wstring& face : options.Faces)
        if (!IsScreenFont(face))
            return Usage(L"--face: \"" + face + L"\" is not an installed screen font; give one that --list-fonts shows");

    // The run shows its refusals in a message box; here they go to stderr.
    bool refused = false;
    SetMessageBoxHook([&](HWND, const std::wstring& text, UINT) {
        std::wstring line = text;
        for (wchar_t& c : line)
            if (c == L'\r' || c == L'\n') c = L' ';
        Err(line);
        refused = true;
        return IDOK;
    });
    struct HookReset {
        ~HookReset() { SetMessageBoxHook(nullptr); }
    } hookReset;

    frmCanvas canvas;
    CanvasBench bench(canvas, options.Text);
    const RunContext context = SystemContext(options, bench.TextBytes());
    std::vector<Measurement> results;
    for (const Configuration& config :
         Configurations(options.Faces, options.Sizes, options.Bold, options.Italic, options.Opaque)) {
        if (!bench.Prepare(config) || refused) {
            Err(L"the canvas could not be set up for \"" + config.Face + L"\"");
            return kExitFailed;
        }
        Measurement m = MeasureConfiguration(bench, config, options);
        if (m.Substituted)
            Err(L"warning: \"" + config.Face + L"\" is drawn with \"" + m.RealizedFace +
                L"\", the face the font mapper chose");
        if (refused) return kExitFailed;
        results.push_back(std::move(m));
    }

    switch (options.Format) {
    case OutputFormat::Table: Out(TableReport(context, results)); break;
    case OutputFormat::Csv: Out(CsvReport(results, context.TextBytes)); break;
    case OutputFormat::Json: Out(JsonReport(context, results)); break;
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    ParsedArguments parsed = ParseArguments(args);
    if (!parsed.Options) return Usage(parsed.Error);
    const CliOptions& options = *parsed.Options;

    switch (options.Action) {
    case CliAction::Help: Out(UsageText()); return 0;
    case CliAction::Version: Out(std::wstring(kCliProgramName) + L" " + CliVersion() + L"\n"); return 0;
    case CliAction::ListFonts: {
        std::wstring list;
        for (const std::wstring& face : ScreenFontNames()) list += face + L"\n";
        Out(list);
        return 0;
    }
    case CliAction::Compare: return Compare(options);
    case CliAction::Measure: break;
    }
    return Measure(options);
}
