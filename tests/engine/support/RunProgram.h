// Runs another program from a test and collects what it printed: the tool
// tests run vantrep-sql, and outside checks run /usr/bin/python3 with the
// Debian DBF readers.
#pragma once

#include <string>
#include <vector>

namespace vantrep::tests {

struct ProgramResult {
    int exitStatus = -1;  // the exit code, or 128 + the signal that ended it
    std::string out;      // standard output
    std::string err;      // standard error
};

// Runs `argv` (argv[0] is the program's path, no PATH search) with an empty
// standard input and waits for its end. Fails the calling test when the
// program cannot be started.
ProgramResult runProgram(const std::vector<std::string>& argv);

// Runs a Python script given as text with /usr/bin/python3, passing `args`
// as sys.argv[1:].
ProgramResult runPython(const std::string& script, const std::vector<std::string>& args = {});

}  // namespace vantrep::tests
