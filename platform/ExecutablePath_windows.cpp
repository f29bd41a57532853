#include "ProgramFolder.h"

#include <windows.h>

#include <vector>

namespace tavlo {

std::filesystem::path executablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), n));
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace tavlo
