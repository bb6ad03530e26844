// A saved picture written safely: to a file of its own beside its place,
// then moved into that place in one step, so that a file that was there is
// either replaced by a whole one or left as it was.
#include "image.h"

#include <cwctype>

namespace platform {

std::wstring reason(DWORD error) {
    wchar_t text[512];
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             error, 0, text, static_cast<DWORD>(std::size(text)), nullptr);
    while (n > 0 && std::iswspace(text[n - 1]))
        --n;
    return n ? std::wstring(text, n) : L"Windows error " + std::to_wstring(error) + L".";
}

DWORD writeWhole(const std::wstring &file, std::string_view bytes) {
    if (bytes.size() > MAXDWORD)
        return ERROR_FILE_TOO_LARGE;
    const std::wstring folder = file.substr(0, file.find_last_of(L"\\/") + 1);
    std::wstring part;
    HANDLE h = INVALID_HANDLE_VALUE;
    DWORD error = 0;
    for (int i = 0; i < 100 && h == INVALID_HANDLE_VALUE; ++i) {
        part = folder + L"~quorvel-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(i) + L".tmp";
        h = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
        if (h == INVALID_HANDLE_VALUE && (error = GetLastError()) != ERROR_FILE_EXISTS)
            return error;
    }
    if (h == INVALID_HANDLE_VALUE)
        return error;
    DWORD written = 0;
    const auto size = static_cast<DWORD>(bytes.size());
    if (!WriteFile(h, bytes.data(), size, &written, nullptr) || !FlushFileBuffers(h))
        error = GetLastError();
    else if (written != size)
        error = ERROR_WRITE_FAULT;
    CloseHandle(h);
    if (!error && !MoveFileExW(part.c_str(), file.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error)
        DeleteFileW(part.c_str());
    return error;
}

} // namespace platform
