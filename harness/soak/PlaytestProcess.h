#pragma once
// A program that speaks the playtest protocol (one command per line in, one answer per line
// out), run as a child process on pipes, so a test can read each answer before it sends the
// next command, end the input, or kill the program at a moment of its choosing.
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

class PlaytestProcess {
  public:
    // Whether another user (the tests' "nobody") may run the program at `path`: every folder
    // above it must be open to all, which a build under a private home (/root) is not.
    static bool reachableByAll(const std::string& path) {
        std::string folder = path;
        while ((folder = folder.substr(0, folder.find_last_of('/'))).size() > 0) {
            struct stat st {};
            if (stat(folder.c_str(), &st) != 0 || !(st.st_mode & S_IXOTH)) return false;
        }
        return true;
    }

    // changes: "NAME=value" sets a variable, "NAME" alone removes it. errorFile: where the program's
    // standard error (its log lines) goes; empty: nowhere. uid, gid: run as this user and group
    // (only when started as root); -1 leaves them.
    explicit PlaytestProcess(const std::string& programPath, const std::vector<std::string>& changes = {},
                             const std::string& errorFile = {}, int uid = -1, int gid = -1,
                             const std::vector<std::string>& options = {}) {
        // Everything the child needs is prepared here: after fork() it only makes system calls.
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
            env.emplace_back(*e);
        for (const std::string& change : changes) {
            const std::string name = change.substr(0, change.find('='));
            std::erase_if(
                env, [&](const std::string& e) { return e.compare(0, name.size() + 1, name + "=") == 0; });
            if (change.find('=') != std::string::npos) env.push_back(change);
        }
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        std::vector<std::string> words{programPath};
        words.insert(words.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);

        int toChild[2], fromChild[2];
        // Close-on-exec from the start, so the child keeps no copy of our ends and sees the end of
        // its input when we close it.
        if (pipe2(toChild, O_CLOEXEC) != 0) return;
        if (pipe2(fromChild, O_CLOEXEC) != 0) {
            close(toChild[0]);
            close(toChild[1]);
            return;
        }
        const int errFd = errorFile.empty()
                              ? open("/dev/null", O_WRONLY | O_CLOEXEC)
                              : open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        _pid = fork();
        if (_pid == 0) {
            dup2(toChild[0], STDIN_FILENO);
            dup2(fromChild[1], STDOUT_FILENO);
            if (errFd >= 0) dup2(errFd, STDERR_FILENO);
            if (geteuid() == 0 && uid >= 0) {
                if (setgroups(0, nullptr) != 0 || setgid(static_cast<gid_t>(gid)) != 0 ||
                    setuid(static_cast<uid_t>(uid)) != 0)
                    _exit(126);
            }
            execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        if (errFd >= 0) close(errFd);
        _in = toChild[1];
        _out = fromChild[0];
        // A child that has died must not take the test with it through SIGPIPE.
        std::signal(SIGPIPE, SIG_IGN);
    }

    ~PlaytestProcess() {
        if (_pid > 0 && !_status) kill(SIGKILL);
        if (_in >= 0) close(_in);
        if (_out >= 0) close(_out);
    }
    PlaytestProcess(const PlaytestProcess&) = delete;
    PlaytestProcess& operator=(const PlaytestProcess&) = delete;

    bool started() const { return _pid > 0; }
    pid_t pid() const { return _pid; }

    // Sends one command without waiting for its answer.
    bool send(const std::string& command) {
        const std::string line = command + "\n";
        std::size_t done = 0;
        while (_in >= 0 && done < line.size()) {
            const ssize_t n = ::write(_in, line.data() + done, line.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            done += static_cast<std::size_t>(n);
        }
        return done == line.size();
    }

    // The next answer line; nothing once the program has stopped answering.
    std::optional<std::string> readLine() {
        for (;;) {
            if (const auto end = _buffer.find('\n'); end != std::string::npos) {
                std::string line = _buffer.substr(0, end);
                _buffer.erase(0, end + 1);
                return line;
            }
            char chunk[65536];
            const ssize_t n = _out >= 0 ? ::read(_out, chunk, sizeof chunk) : -1;
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return std::nullopt;
            _buffer.append(chunk, static_cast<std::size_t>(n));
        }
    }

    std::optional<std::string> ask(const std::string& command) {
        if (!send(command)) return std::nullopt;
        return readLine();
    }

    // Ends the input, as when the player's script runs out.
    void closeInput() {
        if (_in >= 0) close(_in);
        _in = -1;
    }

    // Waits for the program to end; its wait status.
    int wait() {
        if (_status) return *_status;
        int status = 0;
        while (waitpid(_pid, &status, 0) < 0 && errno == EINTR) {
        }
        _status = status;
        return status;
    }

    // Waits at most `limit` for the program to end: its wait status, or nothing while it runs on.
    std::optional<int> waitFor(std::chrono::milliseconds limit) {
        if (_status) return _status;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            int status = 0;
            const pid_t ended = waitpid(_pid, &status, WNOHANG);
            if (ended == _pid) {
                _status = status;
                return status;
            }
            if ((ended < 0 && errno != EINTR) || std::chrono::steady_clock::now() >= deadline)
                return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    void kill(int signal) {
        if (_pid > 0 && !_status) ::kill(_pid, signal);
        wait();
    }

    // Delivers a signal and lets the program react to it on its own.
    void signal(int signal) const {
        if (_pid > 0 && !_status) ::kill(_pid, signal);
    }

    static bool exitedWith(int status, int code) { return WIFEXITED(status) && WEXITSTATUS(status) == code; }

  private:
    pid_t _pid = -1;
    int _in = -1;
    int _out = -1;
    std::string _buffer;
    std::optional<int> _status;
};
