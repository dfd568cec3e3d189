#pragma once
// A virtual X server of a test's own, and programs started beside the test on it.
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace xtest {

// Starts a program with its standard error silenced; its id, or -1.
inline pid_t spawn(std::vector<std::string> argv) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> args;
        for (auto& a : argv)
            args.push_back(a.data());
        args.push_back(nullptr);
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) dup2(quiet, STDERR_FILENO);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

inline void stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

// The server picks a free display and says which once it listens, so tests run side by side
// never meet. Stopped with the object.
class VirtualDisplay {
  public:
    // The display's name (":N"), or empty when the server did not start.
    std::string start(const std::string& screen) {
        int ready[2];
        if (pipe(ready) != 0) return "";
        _server = spawn(
            {"Xvfb", "-displayfd", std::to_string(ready[1]), "-nolisten", "tcp", "-screen", "0", screen});
        close(ready[1]);
        char name[16] = ":";
        const ssize_t got = read(ready[0], name + 1, sizeof name - 2);
        close(ready[0]);
        if (got <= 0) return "";
        name[std::strcspn(name, "\n")] = '\0';
        return name;
    }
    ~VirtualDisplay() { stop(_server); }

  private:
    pid_t _server = 0;
};

} // namespace xtest
