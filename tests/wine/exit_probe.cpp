// Ends as its argument says: a number is the exit code, "crash" writes
// through a null pointer, "hang" never returns.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 0;
    if (strcmp(argv[1], "crash") == 0) {
        volatile int* p = nullptr;
        // cppcheck-suppress nullPointer ; the crash is the point
        *p = 1;
    }
    if (strcmp(argv[1], "hang") == 0)
        ::Sleep(INFINITE);
    return atoi(argv[1]);  // NOLINT(cert-err34-c): the tests pass a number
}
