#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// Stops the run with the failed condition; libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

// Hands out the fuzzer's bytes as values; what runs short reads as zero.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    template <typename T>
    T Take() {
        T value{};
        const std::size_t n = sizeof(T) < size_ ? sizeof(T) : size_;
        std::memcpy(&value, data_, n);
        Skip(n);
        return value;
    }

    // Text as Windows holds it: UTF-16 code units, so lone and split
    // surrogates occur as they would there. The first byte picks whether
    // each further byte is one unit (easy ASCII) or two bytes make one.
    std::wstring Text(std::size_t maxUnits) {
        const bool wide = Take<std::uint8_t>() & 1;
        std::wstring text;
        while (size_ > 0 && text.size() < maxUnits) {
            if (wide) text += static_cast<wchar_t>(Take<std::uint16_t>());
            else text += static_cast<wchar_t>(Take<std::uint8_t>());
        }
        return text;
    }

    // A short text whose length comes first, for fields before the rest.
    std::wstring ShortText(std::size_t maxUnits) {
        const std::size_t length = Take<std::uint8_t>() % (maxUnits + 1);
        std::wstring text;
        for (std::size_t i = 0; i < length && size_ > 0; ++i) text += static_cast<wchar_t>(Take<std::uint16_t>());
        return text;
    }

    std::size_t Left() const { return size_; }

private:
    void Skip(std::size_t n) {
        data_ += n;
        size_ -= n;
    }

    const std::uint8_t* data_;
    std::size_t size_;
};

inline bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
