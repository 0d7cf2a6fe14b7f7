#pragma once
#include <windows.h>

#include <string>
#include <vector>

// How many more GDI objects this process could create right now.
// GetGuiResources is a stub under Wine, so count by filling the table.
int GdiHandleHeadroom();

// A plain top-level window to own the benchmark's windows in tests.
class TestOwner {
public:
    TestOwner();
    ~TestOwner();
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

// The box of non-white pixels in a DC's area, empty when all are white.
struct InkBox {
    int left = 0, top = 0, right = 0, bottom = 0;  // right/bottom exclusive
    int inked = 0;
    bool empty() const { return inked == 0; }
};
InkBox FindInk(HDC dc, int width, int height);

void PumpFor(DWORD milliseconds);
