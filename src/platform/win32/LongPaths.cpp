#include "platform/win32/LongPaths.h"

#include <windows.h>

namespace vh::win32 {

std::wstring ExtendedLengthPath(const std::wstring& path) {
    // Room for a "\\*.exe" pattern and the 8.3 name the system may append.
    if (path.size() < MAX_PATH - 16 || path.rfind(L"\\\\?\\", 0) == 0) return path;
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
    if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

}  // namespace vh::win32
