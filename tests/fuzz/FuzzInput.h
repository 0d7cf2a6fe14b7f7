#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// Stops the run with the failed condition; libFuzzer keeps the input.
#define FUZZ_CHECK(condition) \
    ((condition) ? void() : (std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition), std::abort()))

// Hands out the fuzzer's bytes as values; what runs short reads as zero.
struct FuzzInput {
    const std::uint8_t* data;
    std::size_t size;

    template <typename T>
    T Take() {
        T value{};
        const std::size_t n = sizeof(T) < size ? sizeof(T) : size;
        std::memcpy(&value, data, n);
        return data += n, size -= n, value;
    }
    // Text as Windows holds it, UTF-16 units, lone surrogates included: the
    // first byte picks one byte a unit (easy ASCII) or two.
    std::wstring Text(std::size_t maxUnits) {
        const bool wide = Take<std::uint8_t>() & 1;
        std::wstring text;
        while (size > 0 && text.size() < maxUnits) text += wide ? wchar_t(Take<std::uint16_t>()) : wchar_t(Take<std::uint8_t>());
        return text;
    }
};
