// Another Windows program that holds something for the given number of
// seconds: the clipboard open, as a busy program may; or, given a file, that
// file open for reading, as a viewer that shows it does. It says "held" once
// it has it.
// Usage: hold SECONDS [FILE]
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
    const HANDLE file = argc > 2 ? CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                                 : nullptr;
    if (file ? file == INVALID_HANDLE_VALUE : !OpenClipboard(nullptr))
        return 1;
    std::puts("held");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(argc > 1 ? std::atoi(argv[1]) : 10) * 1000);
    if (file)
        CloseHandle(file);
    else
        CloseClipboard();
}
