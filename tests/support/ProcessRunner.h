#pragma once
// Runs the playtest program on a script of commands, in a store folder of its own.
#include "tests/support/TempDirs.h"
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct PlaytestRun {
    int exitStatus = -1;
    std::vector<std::string> lines;
    std::string errors;
};

inline std::string makeTempDir(const char* prefix = "/tmp/doviveduzuz-run-XXXXXX") {
    std::string pattern = prefix;
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    return TempDirs::keep(mkdtemp(buf.data())) ? std::string(buf.data()) : std::string();
}

inline PlaytestRun runPlaytest(const std::string& script, const std::string& dataHome,
                               const std::string& extraEnv = "") {
    const std::string dir = makeTempDir();
    { std::ofstream(dir + "/in.txt") << script; }
    const std::string cmd = "XDG_DATA_HOME='" + dataHome + "' " + extraEnv +
                            " '" DOVI_BINARY_DIR "/playtest' < '" + dir + "/in.txt' > '" + dir +
                            "/out.txt' 2> '" + dir + "/err.txt'";
    PlaytestRun run;
    const int status = std::system(cmd.c_str());
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream out(dir + "/out.txt");
    for (std::string line; std::getline(out, line);)
        run.lines.push_back(line);
    std::stringstream err;
    err << std::ifstream(dir + "/err.txt").rdbuf();
    run.errors = err.str();
    return run;
}
