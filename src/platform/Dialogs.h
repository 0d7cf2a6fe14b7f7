#pragma once
#include <windows.h>

#include <functional>
#include <string>

// A message box captioned with the program's title. Tests running inside
// the process can take the box's place.
int ShowMessageBox(HWND owner, const std::wstring& text, UINT type);
using MessageBoxHook = std::function<int(HWND owner, const std::wstring& text, UINT type)>;
void SetMessageBoxHook(MessageBoxHook hook);

// Handles every message waiting in this thread's queue, then returns.
void ProcessPendingMessages();
