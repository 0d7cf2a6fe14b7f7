// The text repeated or cut to a length in bytes, without splitting a character.
#include "cli/measure/TextLength.h"

#include <vector>

std::optional<SizedText> TextOfLength(const std::string& text, std::size_t bytes, const LeadBytePredicate& isLeadByte,
                                      std::string& reason) {
    std::vector<std::size_t> starts;  // of each character
    for (std::size_t i = 0; i < text.size(); i += isLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1)
        starts.push_back(i);
    const bool cut =
        !starts.empty() && starts.back() + 1 == text.size() && isLeadByte(static_cast<unsigned char>(text.back()));
    if (cut || (text.empty() && bytes > 0)) {
        reason = cut ? "the text ends inside a double-byte character" : "there is no text to repeat";
        return std::nullopt;
    }
    SizedText sized;
    for (std::size_t k = 0; sized.Bytes.size() < bytes; k = (k + 1) % starts.size(), ++sized.Chars) {
        const std::size_t width = (k + 1 < starts.size() ? starts[k + 1] : text.size()) - starts[k];
        sized.Bytes += sized.Bytes.size() + width <= bytes ? text.substr(starts[k], width) : " ";
    }
    return sized;
}
