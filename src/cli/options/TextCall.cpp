// The names of the text calls and font qualities.
#include "cli/options/TextCall.h"

namespace {

template <typename T>
std::string NameOf(const std::vector<std::pair<std::string, T>>& names, T value) {
    for (const auto& [name, named] : names)
        if (named == value) return name;
    return names.front().first;
}

}  // namespace

std::string CallName(TextCall call) { return NameOf(kCallNames, call); }
std::string QualityName(FontQuality quality) { return NameOf(kQualityNames, quality); }
