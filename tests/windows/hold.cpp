// Another Windows program that holds the clipboard open, for the given
// number of seconds, as a busy one may: it says "held" once it has it.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
    if (!OpenClipboard(nullptr))
        return 1;
    std::puts("held");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(argc > 1 ? std::atoi(argv[1]) : 10) * 1000);
    CloseClipboard();
}
