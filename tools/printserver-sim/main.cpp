// printserver-sim: simulated network print servers for tests and demos.
#include "options.h"
#include "simulator.h"

#include <chrono>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    const auto start = std::chrono::steady_clock::now();
    Options options;
    std::string error;
    switch (options.Parse(argc, argv, &error)) {
    case Options::Result::Help:
        std::fputs(Options::Usage(), stdout);
        return 0;
    case Options::Result::Error:
        std::fprintf(stderr, "printserver-sim: %s\nTry 'printserver-sim --help'.\n", error.c_str());
        return 2;
    case Options::Result::Run:
        break;
    }
    Simulator simulator(options, start);
    return simulator.Run();
}
