#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

// Owners for GDI handles: each frees exactly what it created.
struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct MemoryDcDeleter {
    void operator()(HDC h) const { DeleteDC(h); }
};
template <typename H, typename Deleter = GdiObjectDeleter>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<H>, Deleter>;

using UniqueFont = UniqueHandle<HFONT>;
using UniqueBitmap = UniqueHandle<HBITMAP>;
using UniqueBrush = UniqueHandle<HBRUSH>;
using UniqueDC = UniqueHandle<HDC, MemoryDcDeleter>;

// A window's DC, released to the window it came from.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC for a scope and puts the previous one back,
// so the object can be deleted afterwards.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() {
        if (previous_) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};
