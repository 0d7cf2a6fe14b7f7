#pragma once
#include <windows.h>

#include <string>

// Screen resolution used for every twips conversion.
int ScreenDpi();
inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

struct WindowOptions {
    const wchar_t* caption = L"";
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int clientWidthTwips = 0;
    int clientHeightTwips = 0;
    HWND owner = nullptr;
    // DefDlgProcW does the keyboard and focus work, as in a dialog box.
    bool dialog = false;
};

// The classic base for a window class: the static procedure finds the
// instance stored at WM_NCCREATE and forwards every message to it.
template <typename T>
class BaseWindow {
public:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    // Derived classes call DestroyOpenWindow() in their own destructors,
    // while their members can still handle WM_DESTROY.
    virtual ~BaseWindow() = default;

    HWND Handle() const { return hwnd_; }
    bool IsOpen() const { return hwnd_ != nullptr; }
    // As the close box does; a window that is not open is left alone.
    void Close() {
        if (hwnd_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    }

protected:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        T* self = nullptr;
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            self = static_cast<T*>(create->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
        LRESULT result = self->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    // Registers the class once and creates the window at the system's
    // default position with the requested client size.
    bool CreateTopLevel(const wchar_t* className, const WindowOptions& options, UINT classStyle = 0,
                        HBRUSH background = nullptr) {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        if (!GetClassInfoExW(instance, className, &wc)) {
            wc.cbSize = sizeof wc;
            wc.style = classStyle;
            wc.cbWndExtra = options.dialog ? DLGWINDOWEXTRA : 0;
            wc.lpfnWndProc = WindowProc;
            wc.hInstance = instance;
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            wc.hbrBackground = background;
            wc.lpszClassName = className;
            if (!RegisterClassExW(&wc)) return false;
        }
        dialog_ = options.dialog;
        const int dpi = ScreenDpi();
        RECT rect{0, 0, TwipsToPixels(options.clientWidthTwips, dpi), TwipsToPixels(options.clientHeightTwips, dpi)};
        AdjustWindowRectEx(&rect, options.style, FALSE, options.exStyle);
        CreateWindowExW(options.exStyle, className, options.caption, options.style, CW_USEDEFAULT, CW_USEDEFAULT,
                        rect.right - rect.left, rect.bottom - rect.top, options.owner, nullptr, instance, this);
        return hwnd_ != nullptr;
    }

    void DestroyOpenWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return dialog_ ? DefDlgProcW(hwnd_, message, wParam, lParam) : DefWindowProcW(hwnd_, message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
    bool dialog_ = false;
};

// Brings a window to the front, or shows it the first time, owned as it was
// created; the keyboard stays where it was, so Enter runs again.
void ShowModeless(HWND window);

std::wstring WindowText(HWND window);
