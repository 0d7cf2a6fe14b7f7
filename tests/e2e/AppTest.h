#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AppDriver.h"

namespace e2e {

const std::wstring& ProgramPath();  // from the command line

// What pressing Enter in the main window led to.
struct Outcome {
    bool ran = false;               // exactly one report entry was added
    std::wstring message;           // the message box's text, when refused
    Control focus = kControlCount;  // where the focus was afterwards, the main window active
};

// Each test gets a freshly started program, ended afterwards if still running.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Makes the main window the active one, as a click on its title bar would.
    void ActivateMain();
    // Presses Enter; a message box is read and dismissed with Enter.
    Outcome Submit();
    // Empties a box from the keyboard: its access key selects the text, Backspace removes it.
    void EmptyBox(wchar_t accessKey);

    std::unique_ptr<RunningApp> app;
};

}  // namespace e2e
