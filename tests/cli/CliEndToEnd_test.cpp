// Runs the real console program as a script would and reads its output back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "cli/Compare.h"
#include "cli/Csv.h"
#include "cli/Json.h"
#include "cli/Utf8.h"

namespace {

std::wstring g_exe;  // the program under test, from the command line

struct Finished {
    DWORD exitCode = 0;
    std::wstring out;
    std::wstring err;
};

std::string ReadAll(HANDLE pipe) {
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

Finished RunCli(const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    CreatePipe(&outRead, &outWrite, &inherit, 0);
    CreatePipe(&errRead, &errWrite, &inherit, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    std::wstring command = L"\"" + g_exe + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(g_exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    Finished finished;
    if (!started) {
        ADD_FAILURE() << "cannot start " << ToUtf8(g_exe);
        CloseHandle(outRead);
        CloseHandle(errRead);
        return finished;
    }
    std::string err;
    std::thread errReader([&] { err = ReadAll(errRead); });
    const std::string out = ReadAll(outRead);
    errReader.join();
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &finished.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(outRead);
    CloseHandle(errRead);
    finished.out = FromUtf8(out);
    finished.err = FromUtf8(err);
    return finished;
}

std::wstring TempFile(const wchar_t* name, const std::wstring& text) {
    wchar_t directory[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    std::wstring path = std::wstring(directory) + L"etbcli-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const std::string bytes = ToUtf8(text);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

// Small enough that the whole test takes a few seconds.
const std::wstring kQuick = L" --count 300 --repetitions 2 --warmup 0";

TEST(CliEndToEnd, JsonSweepReadsBack) {
    Finished run = RunCli(L"--face \"Liberation Sans,IPAゴシック\" --size 9,12 --text \"日本語 text\" --format json" + kQuick);
    ASSERT_EQ(run.exitCode, 0u) << ToUtf8(run.err);
    EXPECT_EQ(run.err, L"");

    std::wstring error;
    std::optional<JsonValue> document = ParseJson(run.out, error);
    ASSERT_TRUE(document) << ToUtf8(error) << "\n" << ToUtf8(run.out);
    const JsonValue& context = *document->Find(L"context");
    EXPECT_EQ(context.Find(L"architecture")->String, sizeof(void*) == 8 ? L"64-bit" : L"32-bit");
    EXPECT_EQ(context.Find(L"ansi_code_page")->Number, GetACP());
    EXPECT_EQ(context.Find(L"text")->String, L"日本語 text");
    if (GetACP() == 932) {
        EXPECT_EQ(context.Find(L"text_bytes")->Number, 11);
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    EXPECT_EQ(context.Find(L"counter_frequency")->Number, static_cast<double>(frequency.QuadPart));
    const bool underWine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    EXPECT_EQ(context.Find(L"wine_version")->Kind, underWine ? JsonValue::Type::String : JsonValue::Type::Null);

    std::optional<ResultFile> file = ReadResults(run.out, error);
    ASSERT_TRUE(file) << ToUtf8(error);
    ASSERT_EQ(file->Rows.size(), 4u);
    const wchar_t* faces[] = {L"Liberation Sans", L"Liberation Sans", L"IPAゴシック", L"IPAゴシック"};
    for (size_t i = 0; i < 4; ++i) {
        const ResultRow& row = file->Rows[i];
        EXPECT_EQ(row.Config.Face, faces[i]);
        EXPECT_EQ(row.RealizedFace, faces[i]);
        EXPECT_FALSE(row.Substituted);
        EXPECT_EQ(row.Config.Size, i % 2 ? 12 : 9);
        EXPECT_EQ(row.Count, 300);
        EXPECT_EQ(row.Repetitions, 2);
        EXPECT_GT(row.MinMs, 0);
        EXPECT_LE(row.MinMs, row.MedianMs);
        EXPECT_NEAR(row.BytesPerSecond / row.CallsPerSecond, 11, 0.2);
    }
}

TEST(CliEndToEnd, CsvSweepReadsBackAndCompares) {
    Finished csv = RunCli(L"-f \"Liberation Sans\" --bold=both --opaque --format csv" + kQuick);
    ASSERT_EQ(csv.exitCode, 0u) << ToUtf8(csv.err);
    std::wstring error;
    std::optional<ResultFile> file = ReadResults(csv.out, error);
    ASSERT_TRUE(file) << ToUtf8(error) << ToUtf8(csv.out);
    ASSERT_EQ(file->Rows.size(), 2u);
    EXPECT_FALSE(file->Rows[0].Config.Bold);
    EXPECT_TRUE(file->Rows[1].Config.Bold);
    EXPECT_TRUE(file->Rows[1].Config.Opaque);
    EXPECT_EQ(file->Rows[1].Config.Size, 12);

    Finished json = RunCli(L"-f \"Liberation Sans\" --bold=both --opaque --format json" + kQuick);
    ASSERT_EQ(json.exitCode, 0u) << ToUtf8(json.err);
    const std::wstring oldPath = TempFile(L"old.json", json.out);
    const std::wstring newPath = TempFile(L"new.csv", csv.out);
    Finished compared = RunCli(L"--compare \"" + oldPath + L"\" \"" + newPath + L"\" --format csv");
    DeleteFileW(oldPath.c_str());
    DeleteFileW(newPath.c_str());
    ASSERT_EQ(compared.exitCode, 0u) << ToUtf8(compared.err);
    auto rows = ParseCsv(compared.out);
    ASSERT_EQ(rows.size(), 3u) << ToUtf8(compared.out);
    for (size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 8u);
        EXPECT_EQ(rows[i][0], L"Liberation Sans");
        EXPECT_GT(std::stod(rows[i][7]), 0) << "both medians paired";
    }
}

TEST(CliEndToEnd, TableNamesTheSystemAndWarnsOfSubstitutes) {
    Finished run = RunCli(L"--face IPAGothic" + kQuick);
    ASSERT_EQ(run.exitCode, 0u) << ToUtf8(run.err);
    EXPECT_NE(run.out.find(L"ANSI code page " + std::to_wstring(GetACP())), std::wstring::npos) << ToUtf8(run.out);
    EXPECT_NE(run.out.find(L"drawn with"), std::wstring::npos);
    // The mapper may or may not name the face as asked; a warning goes with the mark.
    const bool marked = run.out.find(L" *\n") != std::wstring::npos;
    EXPECT_EQ(marked, run.err.find(L"warning: \"IPAGothic\" is drawn with") != std::wstring::npos) << ToUtf8(run.err);
}

TEST(CliEndToEnd, BadArgumentsMeasureNothing) {
    struct Case {
        const wchar_t* arguments;
        const wchar_t* names;
    } cases[] = {
        {L"--face \"No Such Face\"", L"--face: \"No Such Face\""},
        {L"--face \"Liberation Sans,No Such Face\"", L"--face: \"No Such Face\""},
        {L"--size 0", L"--size: "},
        {L"--count=many", L"--count: "},
        {L"--frobnicate", L"\"--frobnicate\": "},
    };
    for (const Case& c : cases) {
        Finished run = RunCli(c.arguments);
        EXPECT_EQ(run.exitCode, 2u) << ToUtf8(c.arguments);
        EXPECT_EQ(run.out, L"") << ToUtf8(c.arguments);
        EXPECT_EQ(run.err.rfind(std::wstring(L"ExtTextOutBenchCli: ") + c.names, 0), 0u) << ToUtf8(run.err);
        EXPECT_EQ(run.err.find(L'\n'), run.err.size() - 1) << "one line";
    }
}

TEST(CliEndToEnd, FontListAndVersionSurviveThePipe) {
    Finished fonts = RunCli(L"--list-fonts");
    EXPECT_EQ(fonts.exitCode, 0u);
    EXPECT_NE(fonts.out.find(L"\nIPAゴシック\n"), std::wstring::npos) << ToUtf8(fonts.out);
    Finished version = RunCli(L"--version");
    EXPECT_EQ(version.exitCode, 0u);
    EXPECT_EQ(version.out.rfind(L"ExtTextOutBenchCli ", 0), 0u);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: cli_end_to_end PATH-TO-ExtTextOutBenchCli.exe\n");
        return 2;
    }
    g_exe = argv[1];
    // ctest hands over a Unix path when the tests run under Wine, whose Z: drive is the root.
    if (!g_exe.empty() && g_exe[0] == L'/') {
        for (wchar_t& c : g_exe)
            if (c == L'/') c = L'\\';
        g_exe = L"Z:" + g_exe;
    }
    return RUN_ALL_TESTS();
}
