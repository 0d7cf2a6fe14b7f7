#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// Stops the run with the failed condition; libFuzzer keeps the input.
#define FUZZ_CHECK(condition) ((condition) ? void() : FuzzFailed(__FILE__, __LINE__, #condition))
[[noreturn]] inline void FuzzFailed(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

// Hands out the fuzzer's bytes as values; what runs short reads as zero.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    template <typename T>
    T Take() {
        T value{};
        const std::size_t n = sizeof(T) < size_ ? sizeof(T) : size_;
        std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }

    // Text as Windows holds it, UTF-16 units, lone surrogates included: the
    // first byte picks one byte a unit (easy ASCII) or two.
    std::wstring Text(std::size_t maxUnits) {
        const bool wide = Take<std::uint8_t>() & 1;
        std::wstring text;
        while (size_ > 0 && text.size() < maxUnits)
            text += wide ? static_cast<wchar_t>(Take<std::uint16_t>()) : static_cast<wchar_t>(Take<std::uint8_t>());
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};
