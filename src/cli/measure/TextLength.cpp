// The text repeated or cut to a length in bytes, without splitting a character.
#include "cli/measure/TextLength.h"

#include <vector>

std::optional<SizedText> TextOfLength(const std::string& text, std::size_t bytes, const LeadBytePredicate& isLeadByte,
                                      std::string& reason) {
    std::vector<std::size_t> starts = {0};  // of each character, then where the last one ends
    while (starts.back() < text.size())
        starts.push_back(starts.back() + (isLeadByte(static_cast<unsigned char>(text[starts.back()])) ? 2 : 1));
    const bool cut = starts.back() > text.size();
    if (cut || (text.empty() && bytes > 0)) {
        reason = cut ? "the text ends inside a double-byte character" : "there is no text to repeat";
        return std::nullopt;
    }
    SizedText sized;
    for (std::size_t k = 0; sized.Bytes.size() < bytes; k = (k + 1) % (starts.size() - 1), ++sized.Chars) {
        const std::size_t width = starts[k + 1] - starts[k];
        sized.Bytes += sized.Bytes.size() + width <= bytes ? text.substr(starts[k], width) : " ";
    }
    return sized;
}
