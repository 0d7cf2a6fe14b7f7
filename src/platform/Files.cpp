#include "platform/Files.h"

#include <windows.h>

#include <fstream>
#include <iterator>

#include "platform/Text.h"

std::optional<std::string> ReadWholeFile(const std::string& utf8Path) {
    std::ifstream file(FromUtf8(utf8Path).c_str(), std::ios::binary);
    std::string bytes(std::istreambuf_iterator<char>(file), {});
    if (!file.is_open() || file.bad()) return std::nullopt;
    return bytes;
}

bool WriteWholeFile(const std::string& utf8Path, const std::string& bytes) {
    std::ofstream file(FromUtf8(utf8Path).c_str(), std::ios::binary);
    file << bytes;
    file.close();
    return !file.fail();
}

bool CanWriteFile(const std::string& utf8Path) {
    const std::wstring path = FromUtf8(utf8Path);
    const bool existed = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!std::ofstream(path.c_str(), std::ios::binary | std::ios::app).is_open()) return false;
    if (!existed) DeleteFileW(path.c_str());
    return true;
}
