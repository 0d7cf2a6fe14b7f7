#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppDriver.h"

using e2e::Utf8;

// How many more GDI objects this process could create right now.
// GetGuiResources is a stub under Wine, so count by filling the table.
int GdiHandleHeadroom();

// The pixels of a DC's area, top row first, 0x00RRGGBB.
std::vector<DWORD> Pixels(HDC dc, int width, int height);
int Inked(const std::vector<DWORD>& pixels);  // how many are not white

// Top-level windows of this thread, without combo drop-downs and Wine's IME windows.
int ThreadWindows();
// Handles every message waiting in this thread's queue but WM_QUIT; true when a WM_QUIT was there.
bool DispatchPending();

// Message boxes are counted and their text kept instead of shown.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::vector<std::wstring> messages;
};
