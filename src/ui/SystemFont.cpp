#include "ui/SystemFont.h"

#include <cstring>

#include "platform/Font.h"
#include "platform/Handles.h"

static_assert(sizeof(LOGFONTA) == sizeof(LogFontARecord), "LOGFONTA layout");

namespace {
NonClientMetricsReader g_reader = SystemParametersInfoA;
}

void SetNonClientMetricsReader(NonClientMetricsReader reader) {
    g_reader = reader ? reader : SystemParametersInfoA;
}

FontSpec FontFromLogFont(const LOGFONTA& logFont, HDC dc) {
    return FontFromLogFontBytes(reinterpret_cast<const unsigned char*>(&logFont), GetDeviceCaps(dc, LOGPIXELSY));
}

FontSpec SystemMenuFont(HWND window) {
    unsigned char record[kNonClientMetricsSize] = {};
    const UINT size = kNonClientMetricsSize;
    std::memcpy(record, &size, sizeof size);
    g_reader(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, record, 0);

    LOGFONTA menuFont;
    std::memcpy(&menuFont, record + kMenuFontOffset, sizeof menuFont);
    WindowDC dc(window);
    FontSpec font = FontFromLogFont(menuFont, dc.get());
    // A record the system left empty names no face and no size: fall back
    // to the stock GUI font rather than let the mapper guess.
    if (font.Name.empty() || font.Size <= 0) return DefaultGuiFontSpec();
    return font;
}
