// Runs the real console program as a script would and reads its output back.
#include <windows.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <string>

#include "AppDriver.h"
#include "platform/Font.h"
#include "platform/Text.h"

namespace {

std::wstring g_exe;  // the program under test, from the command line

struct Finished {
    DWORD exitCode = 0;
    std::string out, err;
};

// What the pipe holds now, without waiting for more.
void Drain(HANDLE pipe, std::string& bytes) {
    char buffer[4096];
    for (DWORD ready = 0, read = 0; PeekNamedPipe(pipe, nullptr, 0, nullptr, &ready, nullptr) && ready > 0;) {
        if (!ReadFile(pipe, buffer, std::min<DWORD>(ready, sizeof buffer), &read, nullptr) || read == 0) break;
        bytes.append(buffer, read);
    }
}

Finished RunCli(const std::string& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read[2], write[2];  // stdout, stderr
    for (int i = 0; i < 2; ++i)
        CreatePipe(&read[i], &write[i], &inherit, 0), SetHandleInformation(read[i], HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write[0];
    startup.hStdError = write[1];
    std::wstring command = L"\"" + g_exe + L"\" " + FromUtf8(arguments);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(g_exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    Finished finished;
    EXPECT_TRUE(started) << "cannot start " << ToUtf8(g_exe);
    // The program's end, not the pipes', ends the reading: a process Wine
    // starts from it (its desktop) can inherit the pipes and hold them open.
    for (bool running = started; running;) {
        running = WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT;
        Drain(read[0], finished.out);
        Drain(read[1], finished.err);
    }
    if (started) {
        GetExitCodeProcess(process.hProcess, &finished.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (HANDLE pipe : {read[0], read[1], write[0], write[1]}) CloseHandle(pipe);
    return finished;
}

std::string TempFile(const char* name, const std::string& bytes) {
    wchar_t directory[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    const std::string path = ToUtf8(directory) + "etbcli-" + std::to_string(GetCurrentProcessId()) + "-" + name;
    std::ofstream(FromUtf8(path).c_str(), std::ios::binary) << bytes;
    return path;
}

// Small enough that the whole test takes a few seconds.
const std::string kQuick = " --count 300 --repetitions 3 --warmup 0";

TEST(CliEndToEnd, JsonSweepWithBaselineComparesAndPlots) {
    Finished run = RunCli("--face \"Liberation Sans,IPAゴシック\" --size 9,12 --text \"日本語 text\" --format json "
                          "--baseline \"IPAゴシック,9\"" + kQuick);
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    const auto document = nlohmann::json::parse(run.out);
    const auto& context = document["context"];
    EXPECT_EQ(context["architecture"], sizeof(void*) == 8 ? "64-bit" : "32-bit");
    EXPECT_EQ(context["text"], "日本語 text");
    EXPECT_TRUE(GetACP() != 932 || context["text_bytes"] == 11);  // the text as the code page holds it
    ASSERT_EQ(document["results"].size(), 4u);
    for (const auto& result : document["results"])  // a reference beside every pass
        EXPECT_EQ(result["reference_ms"].size(), result["samples_ms"].size());
    EXPECT_TRUE(document["results"][2]["verdict"] == "baseline" &&
                document["results"][0]["verdict"] == "too few passes (n = 3; at least 6 needed)");
    // Latin faces read the code page 932 bytes in their own character set.
    EXPECT_TRUE(GetACP() != 932 || (document["results"][0]["text_fits_font"] == false &&
                                    document["results"][2]["text_fits_font"] == true));

    const std::string oldPath = TempFile("old.json", run.out), newPath = TempFile("new.json", run.out);
    const std::string svg = TempFile("c.svg", "");
    Finished compared = RunCli("--compare \"" + oldPath + "\" \"" + newPath + "\" --format csv --plot \"" + svg + "\"");
    ASSERT_EQ(compared.exitCode, 0u) << compared.err;
    // A file against itself: the machine has not moved and nothing changed.
    EXPECT_NE(compared.out.find("\nIPAゴシック,12,false,false,false,"), std::string::npos) << compared.out;
    EXPECT_EQ(compared.out.find("faster") + compared.out.find("slower"), 2 * std::string::npos);
    EXPECT_NE(GetFileAttributesW(FromUtf8(svg).c_str()), INVALID_FILE_ATTRIBUTES);
    for (const std::string* path : {&oldPath, &newPath, &svg}) DeleteFileW(FromUtf8(*path).c_str());
}

// A value given twice is measured twice, and --max-time ends the rounds in about the time given.
TEST(CliEndToEnd, RepeatedValuesAndTheTimeLimit) {
    Finished run = RunCli("--face \"Liberation Sans\" --length 40,40 --baseline 1 --max-time 4 --format json");
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    const auto document = nlohmann::json::parse(run.out);
    const auto& context = document["context"];
    ASSERT_EQ(document["results"].size(), 2u);
    EXPECT_TRUE(document["results"][0]["repeat"] == 1 && document["results"][1]["repeat"] == 2);
    EXPECT_TRUE(context["stopped"] == "decided" || context["stopped"] == "time") << context;
    EXPECT_GE(context["rounds"].get<int>(), 8) << context;
    EXPECT_LE(context["seconds"].get<double>(), 6) << context;  // no round begun that would end past the limit
}

TEST(CliEndToEnd, LengthSweepFitsTheCostsAndEveryCallIsTimed) {
    Finished run =
        RunCli("--face \"IPAゴシック,Liberation Sans\" --text \"日本語 text\" --length 1,8,32 --format json" + kQuick);
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    const auto document = nlohmann::json::parse(run.out);
    ASSERT_EQ(document["results"].size(), 6u);
    const auto& eight = document["results"][1];
    EXPECT_TRUE(eight["length_bytes"] == 8 && eight["call"] == "ExtTextOutA" && eight["quality"] == "default");
    EXPECT_TRUE(GetACP() != 932 || eight["length_chars"] == 5);  // 日本語 and " t": no kanji split
    // A Latin font's character set reads every byte as a character of its own.
    EXPECT_EQ(document["results"][4]["length_chars"], 8);
    ASSERT_EQ(document["fits"].size(), 2u) << run.out;
    EXPECT_EQ(document["fits"][0]["lengths"], nlohmann::json::parse("[1, 8, 32]"));
    EXPECT_GT(document["fits"][0]["per_char_ms"].get<double>(), 0);

    Finished calls = RunCli("--face \"Liberation Sans\" --length 4,16,64 --baseline 1 --call "
                            "ExtTextOutA,ExtTextOutW,TextOutA,PolyTextOutA,GetTextExtentPoint32A" + kQuick);
    ASSERT_EQ(calls.exitCode, 0u) << calls.err;
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = calls.out.find("\n    fit: ", at + 1)) != std::string::npos;) ++lines;
    EXPECT_EQ(lines, 5u) << calls.out;
    for (const char* call : {"  ExtTextOutW  ", "  PolyTextOutA  ", "  GetTextExtentPoint32A  "})
        EXPECT_NE(calls.out.find(call), std::string::npos) << call;
}

// Japanese text in a Latin font's character set is drawn as other characters, and said so; a
// face the mapper replaces is marked and warned.
TEST(CliEndToEnd, TablesMarkWhatWasDrawnAndTheSelfCheckRuns) {
    Finished latin = RunCli("--text 日本語 --face \"Liberation Serif,IPAゴシック\"" + kQuick);
    ASSERT_EQ(latin.exitCode, 0u) << latin.err;
    EXPECT_NE(latin.out.find(" Liberation Serif !\n"), std::string::npos) << latin.out;
    EXPECT_NE(latin.out.find(" IPAゴシック\n"), std::string::npos) << latin.out;
    EXPECT_NE(latin.err.find("warning: \"Liberation Serif\" cannot show \"日\" (U+65E5), \"本\" (U+672C)"),
              std::string::npos) << latin.err;
    EXPECT_EQ(latin.err.find("IPAゴシック"), std::string::npos) << latin.err;
    Finished run = RunCli("--face IPAGothic" + kQuick);
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_NE(run.out.find("ANSI code page " + std::to_string(GetACP())), std::string::npos) << run.out;
    // The mark and the warning appear exactly when the mapper draws another face.
    const FontSpec asked{L"IPAGothic", 12};
    const bool substituted = RealizedFace(MakeFont(asked)->Handle()) != asked.Name;
    EXPECT_EQ(run.out.find(" *\n") != std::string::npos, substituted) << run.out;
    EXPECT_EQ(run.err.find("warning: \"IPAGothic\" is drawn with") == 0, substituted) << run.err;
    Finished check = RunCli("--self-check --face \"Liberation Sans\" --count 300 --repetitions 3");
    ASSERT_EQ(check.exitCode, 0u) << check.err;
    EXPECT_NE(check.out.find("\n  300  "), std::string::npos) << check.out;
}

TEST(CliEndToEnd, BadArgumentsAndFilesMeasureNothing) {
    const std::string cp932 = TempFile("cp932.csv", "face,size,median_ms\n\x82\xa0\x83\x53,12,1\n"),
                      a = TempFile("a.json", R"({"results": [{"face": "A", "size": 12, "median_ms": 1}]})"),
                      b = TempFile("b.json", R"({"results": [{"face": "B", "size": 12, "median_ms": 1}]})");
    const std::pair<std::string, std::string> cases[] = {
        {"--face \"Liberation Sans,No Such Face\"", "--face: \"No Such Face\""},
        {"--count=many", "--count: "},
        {"--face \"Liberation Sans\" --baseline Other", "--baseline: "},
        // Past the affinity mask's width: a 32-bit build once took 33 for processor 1.
        {sizeof(void*) == 4 ? "--face \"Liberation Sans\" --cpu 33" : "--face \"Liberation Sans\" --cpu 64", "--cpu: "},
        {"--text \"\" --length 4", "--length: there is no text to repeat"},
        {"--self-check --length 4", "--self-check: "},
        {"--compare \"" + cp932 + "\" \"" + cp932 + "\" --format json", "--compare: \"" + cp932 + "\" is not a JSON"},
        {"--compare \"" + a + "\" \"" + b + "\"", "--compare: \"" + a + "\" and \"" + b + "\" have no configuration"},
        // Found before a pass that would take seconds.
        {"--face \"Liberation Sans\" -n 300000 -r 9 --plot \"" + a + "-missing\\x.svg\"", "--plot: cannot write"}};
    for (const auto& [arguments, names] : cases) {
        Finished run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 2u) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
        EXPECT_EQ(run.err.rfind(std::string("ExtTextOutBenchCli: ") + names, 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line";
    }
    for (const std::string* path : {&cp932, &a, &b}) DeleteFileW(FromUtf8(*path).c_str());
    EXPECT_NE(RunCli("--list-fonts").out.find("\nIPAゴシック\n"), std::string::npos);
    EXPECT_EQ(RunCli("--version").out.rfind("ExtTextOutBenchCli ", 0), 0u);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: cli_end_to_end PATH-TO-ExtTextOutBenchCli.exe\n");
        return 2;
    }
    g_exe = e2e::DosPath(argv[1]);  // ctest hands over a Unix path under Wine
    return RUN_ALL_TESTS();
}
