// The benchmarks' clock: milliseconds from the performance counter.
#pragma once

#include "afx/winheaders.h"

inline double NowMs()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}
