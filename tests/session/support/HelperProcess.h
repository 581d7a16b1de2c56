// A child process for tests that need a second live program: started with
// fork/exec, its standard input and output piped to the test. Closing its
// input tells it to end; the destructor kills it if it is still running.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace vantrep::session::testing {

class HelperProcess {
public:
    HelperProcess(const std::string& program, const std::vector<std::string>& arguments) {
        int input[2];
        int output[2];
        if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0)
            throw std::runtime_error("cannot make pipes for " + program);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ < 0)
            throw std::runtime_error("cannot start " + program);
        if (pid_ == 0) {
            ::dup2(input[0], STDIN_FILENO);
            ::dup2(output[1], STDOUT_FILENO);
            ::close(input[0]);
            ::close(input[1]);
            ::close(output[0]);
            ::close(output[1]);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(input[0]);
        ::close(output[1]);
        toChild_ = input[1];
        fromChild_ = output[0];
    }

    ~HelperProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        closeInput();
        if (fromChild_ >= 0)
            ::close(fromChild_);
    }

    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    // The child's next output line without its newline; throws when none
    // comes within `timeoutMs` or the output ends first.
    std::string readLine(int timeoutMs = 20000) {
        std::string line;
        char ch = 0;
        for (;;) {
            pollfd waitFor{fromChild_, POLLIN, 0};
            if (::poll(&waitFor, 1, timeoutMs) <= 0)
                throw std::runtime_error("the helper process printed no line in time");
            if (::read(fromChild_, &ch, 1) != 1)
                throw std::runtime_error("the helper process ended before printing a line");
            if (ch == '\n')
                return line;
            line += ch;
        }
    }

    // Closes the child's input and waits for it; returns its exit code
    // (-1 when it did not exit normally).
    int finish() {
        closeInput();
        return waitForExit();
    }

    // Ends the child at once, as a crash would.
    void kill() {
        ::kill(pid_, SIGKILL);
        waitForExit();
    }

private:
    void closeInput() {
        if (toChild_ >= 0)
            ::close(toChild_);
        toChild_ = -1;
    }

    int waitForExit() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
};

}  // namespace vantrep::session::testing
