#include "benchmark/RunRequest.h"

#include <optional>

#include "benchmark/RunInputs.h"

std::variant<RunRequest, Refusal> ReadRunSettings(const RunSettings& settings, const std::wstring& thousand,
                                                  const std::function<bool(const std::wstring&)>& isScreenFont) {
    const std::optional<std::int32_t> count = ParseCount(settings.Count, thousand);
    if (!count) return Refusal{RunField::Count, CountRefusal(settings.Count)};
    if (!isScreenFont(settings.Face)) return Refusal{RunField::Face, FaceRefusal(settings.Face)};
    const std::optional<double> size = ParseSize(settings.Size, thousand);
    if (!size) return Refusal{RunField::Size, SizeRefusal(settings.Size)};

    // A check box's 2 (grayed) is on, as 1 is.
    const FontSpec font{settings.Face, *size, settings.Bold != 0, settings.Italic != 0};
    return RunRequest{settings.Text, *count, font, settings.Opaque != 0};
}
