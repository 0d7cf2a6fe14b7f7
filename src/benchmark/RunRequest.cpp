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

    RunRequest request;
    request.Text = settings.Text;
    request.Count = *count;
    request.Font.Name = settings.Face;
    request.Font.Size = *size;
    request.Font.Bold = CheckValueIsOn(settings.Bold);
    request.Font.Italic = CheckValueIsOn(settings.Italic);
    request.Opaque = CheckValueIsOn(settings.Opaque);
    return request;
}
