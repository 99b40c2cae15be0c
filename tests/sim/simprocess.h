// Runs the built simulator as a child process with its own scratch directory.
#pragma once

#include <gtest/gtest.h>

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

class SimProcess {
public:
    using Args = std::vector<std::string>;

    SimProcess();
    ~SimProcess();  // kills a simulator still running and removes the directory
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // A path inside the scratch directory.
    std::string File(const std::string& name) const;

    // Starts the simulator with args plus --ready-file and waits for the ready
    // file, which must hold the child's pid.
    ::testing::AssertionResult Start(Args args);

    // Starts the simulator without waiting for anything.
    void Spawn(const Args& args);

    // Waits for the simulator to exit; *status is its exit code, or 128 plus
    // the signal that ended it.
    ::testing::AssertionResult WaitExit(std::chrono::milliseconds deadline, int* status);

    // Sends a signal and waits for the exit.
    ::testing::AssertionResult Stop(int signal, int* status);

    pid_t pid() const { return pid_; }
    std::string Stdout() const;
    std::string Stderr() const;

private:
    std::string dir_;
    pid_t pid_ = -1;
};

// Reads a whole file; empty if it cannot be read.
std::string ReadTextFile(const std::string& path);

// A port that was free on 127.0.0.1 a moment ago (SOCK_DGRAM or SOCK_STREAM).
int FreePort(int type);
