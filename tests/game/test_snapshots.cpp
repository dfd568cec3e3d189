// What the player sees and hears at the moments that the scripts in tests/golden/ snap, against
// the reviewed files beside them. After an intended change:
//   DOVI_UPDATE_GOLDENS=1 build/unit_tests --gtest_filter='Snapshot*'
// then review the diff of tests/golden/ like code.
#include "harness/playtest/Snapshot.h"
#include "tests/support/test_loop_fixture.h"

#include <filesystem>
#include <fstream>

namespace {

class SnapshotTest : public LoopTest {
  protected:
    static std::string golden(const std::string& name) { return DOVI_SOURCE_DIR "/tests/golden/" + name; }
    // Plays a script through the harness on a fresh store, collecting the moments it snaps.
    Snapshot::Run play(const std::string& script) {
        pt.reset();
        std::filesystem::remove_all(dataHome);
        std::filesystem::create_directories(dataHome);
        pt = std::make_unique<Playtest>();
        Snapshot::Run run;
        std::ifstream in(golden(script + ".script"));
        EXPECT_TRUE(in) << script;
        for (std::string line; std::getline(in, line);) {
            if (line.empty()) continue;
            const std::string answer = pt->execute(line);
            if (line.rfind("snap ", 0) == 0)
                run.add(Snapshot::Json::parse(answer));
            else
                EXPECT_EQ(answer, "ok") << script << ": " << line;
        }
        return run;
    }
    void expectGolden(const std::string& script) {
        std::string report;
        for (const auto& line : Snapshot::compareWithGolden(golden(script + ".json"), play(script)))
            report += "\n  " + line;
        EXPECT_TRUE(report.empty()) << script << " differs from its golden file:" << report;
    }
};

} // namespace

TEST_F(SnapshotTest, FirstRunFromTheTitleToTheResultPanel) {
    expectGolden("first-run");
}

TEST_F(SnapshotTest, ShopShowPurchasesAndALifeSpent) {
    expectGolden("shop");
}

TEST_F(SnapshotTest, TheSameScriptReplaysTheSameSnapshots) {
    const auto first = play("shop").json();
    EXPECT_EQ(first, play("shop").json());
    EXPECT_EQ(first["moments"].size(), 7u);
}
