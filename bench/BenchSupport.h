// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the benchmarks: running a program on a list of files and
// measuring its wall time and peak memory.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace mirelune::bench {

struct Measurement {
    double seconds = 0;
    double userSeconds = 0;  // CPU time in user mode, unmoved by other programs' load
    long peakKb = 0;
    int exitCode = -1;
};

// Starts argv with stdout (and, when asked, stderr) sent to /dev/null; its
// pid, or 0 when it could not be started.
inline pid_t SpawnQuietly(const std::vector<std::string>& args, bool silenceErrors) {
    std::vector<char*> argv;
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (silenceErrors) {
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? pid : 0;
}

// Runs argv with stdout (and, when asked, stderr) sent to /dev/null.
inline Measurement RunQuietly(const std::vector<std::string>& args, bool silenceErrors = false) {
    const auto start = std::chrono::steady_clock::now();
    Measurement m;
    const pid_t pid = SpawnQuietly(args, silenceErrors);
    if (pid == 0) {
        return m;
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.userSeconds = static_cast<double>(usage.ru_utime.tv_sec) + usage.ru_utime.tv_usec / 1e6;
    m.peakKb = usage.ru_maxrss;
    m.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return m;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    if (status != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    return status;
}

}  // namespace mirelune::bench
