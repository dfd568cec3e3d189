// The playtest program's command protocol: one answer line per command, exit statuses.
#include "tests/support/ProcessRunner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using nlohmann::json;

TEST(PlaytestProtocol, EveryCommandAnswersOneLine) {
    const std::string home = makeTempDir();
    const std::string shot = home + "/shot.png";
    const auto run = runPlaytest("seed 3\nstep 5\ntap 960 540\ndown 1 1\nmove 2 2\nup 2 2\nkey Space\n"
                                 "minimize\nstep 2\nrestore\ntree\nstore\nsounds\nlog\nstats\nshot " +
                                     shot + "\nquit\nstep 1\n",
                                 home);
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 16u) << run.errors;
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(run.lines[i], "ok") << i;
    const json tree = json::parse(run.lines[10]);
    EXPECT_EQ(tree["type"], "TitleScene");
    EXPECT_TRUE(tree["children"].is_array());
    EXPECT_TRUE(json::parse(run.lines[11]).is_object());
    EXPECT_TRUE(json::parse(run.lines[12]).is_array());
    EXPECT_TRUE(json::parse(run.lines[13]).is_array());
    const json stats = json::parse(run.lines[14]);
    EXPECT_EQ(stats["frame"], 7);
    EXPECT_GT(stats["rssKB"].get<long>(), 0);
    EXPECT_EQ(run.lines[15], "ok");
    EXPECT_EQ(access(shot.c_str(), R_OK), 0);
}

TEST(PlaytestProtocol, EndOfInputIsAQuietExit) {
    const auto run = runPlaytest("step 1\n", makeTempDir());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.lines, std::vector<std::string>{"ok"});
}

TEST(PlaytestProtocol, UnknownOrMalformedCommandsStopWithStatusTwo) {
    for (const std::string bad : {"fly 1\n", "step\n", "step many\n", "step -1\n", "tap 1\n", "tap a b\n",
                                  "open moon\n", "open shop\n", "key NoSuchKey\n", "seed 1 2\n"}) {
        const auto run = runPlaytest("step 1\n" + bad + "step 1\n", makeTempDir());
        EXPECT_EQ(run.exitStatus, 2) << bad;
        EXPECT_EQ(run.lines, std::vector<std::string>{"ok"}) << bad;
        EXPECT_FALSE(run.errors.empty()) << bad;
    }
}
