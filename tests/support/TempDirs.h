#pragma once
// Folders the tests make under /tmp are removed when the test process ends (not by forked
// children, which share the list).
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

class TempDirs {
  public:
    static char* keep(char* made) {
        if (made) instance()._dirs.emplace_back(getpid(), made);
        return made;
    }

  private:
    static TempDirs& instance() {
        static TempDirs dirs;
        return dirs;
    }
    ~TempDirs() {
        std::error_code ec;
        for (const auto& [pid, dir] : _dirs)
            if (pid == getpid()) std::filesystem::remove_all(dir, ec);
    }
    std::vector<std::pair<pid_t, std::string>> _dirs;
};
