// One run of `vantrep --export OUT REPORT` in a child process, as a
// delivering application starts it: its time from start to exit, its peak
// memory, and whether it wrote OUT.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace vantrep::bench {

struct ExportRun {
    double ms = 0;
    double peakMb = 0;
    bool ok = false;  // status 0 and OUT written
};

// Runs `program` with TMPDIR = `tmp` on the offscreen platform; OUT is
// removed first.
inline ExportRun runExport(const char* program, const std::filesystem::path& report,
                           const std::filesystem::path& out, const std::filesystem::path& tmp) {
    std::filesystem::remove(out);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("TMPDIR", tmp.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(program, program, "--export", out.c_str(), report.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    ExportRun run;
    run.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.peakMb = usage.ru_maxrss / 1024.0;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && std::filesystem::exists(out);
    return run;
}

// The number of lines of a written file.
inline long lineCount(const std::filesystem::path& file) {
    std::ifstream in(file);
    long lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    return lines;
}

}  // namespace vantrep::bench
