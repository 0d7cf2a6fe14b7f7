#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AppDriver.h"

namespace e2e {

// The program under test, from the command line.
const std::wstring& ProgramPath();
std::string Utf8(const std::wstring& text);

// What pressing Enter (or another way of starting a run) led to.
struct Outcome {
    bool ran = false;       // a report entry was added
    std::wstring message;   // the message box's text, when refused
    Control focus = kControlCount;  // where the focus was afterwards (main window active)
};

// Each test gets a freshly started program, ended afterwards if still running.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Makes the main window the active one, as a click on its title bar would.
    void ActivateMain();
    // Presses Enter in the main window and reports what happened; a message
    // box is read and dismissed.
    Outcome Submit();
    // Empties a box from the keyboard: its access key selects the text, Backspace removes it.
    void EmptyBox(wchar_t accessKey);

    std::unique_ptr<RunningApp> app;
};

}  // namespace e2e
