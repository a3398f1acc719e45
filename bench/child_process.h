// A program run in a child process of its own, as /usr/bin/time -v sees it: wall time, processor
// time (user and system) and peak resident memory, the kernel's counts for the child.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "large_neighborhood.h"

namespace qh::bench {

struct ChildRun {
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKilobytes = 0;
    bool ok = false;
};

// Runs `argv` (a full path first) with its output thrown away, or its standard error kept in
// `errors`. `start` is when the run began (now by default).
inline ChildRun RunChild(const std::vector<std::string>& argv, const std::string& errors = "/dev/null",
                         std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now()) {
    std::fflush(nullptr);  // a child must not write this program's buffered lines again
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        if (std::freopen("/dev/null", "w", stdout) == nullptr) _exit(126);
        if (std::freopen(errors.c_str(), "w", stderr) == nullptr) _exit(126);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    ChildRun run;
    if (child > 0 && wait4(child, &status, 0, &usage) == child) {
        run.seconds = Since(start);
        run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        run.peakKilobytes = usage.ru_maxrss;
        run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    return run;
}

}  // namespace qh::bench
