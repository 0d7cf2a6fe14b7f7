#pragma once
#include <windows.h>

#include "platform/LogFont.h"

// The size of NONCLIENTMETRICSA without the later padded-border field,
// and where its menu font lies.
constexpr UINT kNonClientMetricsSize = 340;
constexpr size_t kMenuFontOffset = 160;

// Reads the system's non-client metrics; tests replace it to make the
// call fail.
using NonClientMetricsReader = BOOL(WINAPI*)(UINT action, UINT size, PVOID record, UINT flags);
void SetNonClientMetricsReader(NonClientMetricsReader reader);

// A LOGFONTA read with the resolution of dc.
FontSpec FontFromLogFont(const LOGFONTA& logFont, HDC dc);

// The system's menu font, or the stock GUI font when the system gives none.
FontSpec SystemMenuFont(HWND window);
