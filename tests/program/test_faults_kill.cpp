// The kill test: the harness plays the loop (title, purchases, start, skipped cut-scene, a round
// lost to the clock, back to the shop, ...) and is killed with SIGKILL at a seeded random frame,
// 200 times over. After every kill the store must be sound and show a state the loop really
// passes through: no purchase half applied, no coins made or lost.
#include "harness/soak/PlaytestProcess.h"
#include "harness/soak/StoreFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

constexpr int kChains = 8;
constexpr int kRunsPerChain = 25;
// Kills at a write fall no later than this frame.
constexpr long long kLastKillFrame = 12000;
constexpr int kTimePrices[] = {5, 25, 50};
constexpr int kLifePrices[] = {100, 200, 400};
const char* const kKeys[] = {"coinScore", "timeNo", "lifeNo",       "Button1",    "Button2",
                             "scores",    "time",   "life",         "scoreMoney", "gaug1",
                             "gaug2",     "HS",     "roundWinnings"};

// The saved keys the loop touches (absent keys read as 0), plus the coins banked into the shop
// so far, which the store does not hold but the balance must account for.
struct Progress {
    std::map<std::string, long long> keys;
    long long banked = 0;

    long long operator[](const std::string& key) const {
        const auto it = keys.find(key);
        return it == keys.end() ? 0 : it->second;
    }
    bool sameStore(const Progress& other) const {
        for (const char* key : kKeys)
            if ((*this)[key] != other[key]) return false;
        return true;
    }
    std::string describe() const {
        std::ostringstream out;
        for (const char* key : kKeys)
            out << key << "=" << (*this)[key] << " ";
        return out.str();
    }
    static Progress of(const StoreFile& store) {
        Progress p;
        for (const char* key : kKeys)
            p.keys[key] = store.value(key);
        // A flag counts only when stored as a flag.
        p.keys["Button1"] = store.flag("Button1");
        p.keys["Button2"] = store.flag("Button2");
        return p;
    }
    static Progress of(const json& answer) {
        Progress p;
        for (const char* key : kKeys)
            if (answer.contains(key))
                p.keys[key] =
                    answer[key].is_boolean() ? answer[key].get<bool>() : answer[key].get<long long>();
        return p;
    }
};

// Coins spent on the levels bought so far.
long long spent(long long timeLevel, long long lifeLevel) {
    long long total = 0;
    for (long long i = 0; i < std::min(timeLevel, 3LL); ++i)
        total += kTimePrices[i];
    for (long long i = 0; i < std::min(lifeLevel, 3LL); ++i)
        total += kLifePrices[i];
    return total;
}

// What must hold at any moment, whatever the loop was doing: the sold-out flags go with the
// third level, the shop's balance is the start less the levels bought plus what was banked,
// and the round's balance ("scoreMoney") is the shop's at the round's start, plus the round's
// score once it is over (one point per extra life, the only points a round without presses earns).
void expectInvariants(const Progress& p, long long startCoins) {
    EXPECT_EQ(p["Button1"] != 0, p["timeNo"] == 3) << p.describe();
    EXPECT_EQ(p["Button2"] != 0, p["lifeNo"] == 3) << p.describe();
    EXPECT_EQ(p["coinScore"], startCoins - spent(p["timeNo"], p["lifeNo"]) + p.banked) << p.describe();
    // Once a round has begun, that is.
    if (p["scoreMoney"] + p["gaug1"] + p["gaug2"] > 0) {
        const long long round = p["scoreMoney"] + spent(p["gaug1"], p["gaug2"]);
        const long long shop = p["coinScore"] + spent(p["timeNo"], p["lifeNo"]);
        EXPECT_TRUE(round == shop || round == shop + p["gaug2"]) << p.describe();
    }
}

struct Killed {};
struct Broken {};

// One run of the harness on the chain's store, killed at its chosen moment.
class KillRun {
  public:
    enum class Mode { AtFrame, AtWrite };

    KillRun(const std::string& home, const Progress& start, std::mt19937& rng, int runSeed)
        : _pt(DOVI_BINARY_DIR "/playtest", {"XDG_DATA_HOME=" + home}, home + "/playtest-errors.txt"),
          _rng(rng), _runSeed(runSeed) {
        _states.push_back(start);
        // Half the kills fall on any frame, half on a frame that commits a write of the loop.
        _mode = pick(0, 1) ? Mode::AtFrame : Mode::AtWrite;
        _killFrame = pick(1, 9000);
        _killWrite = pick(1, 10);
    }

    // Plays until killed. Returns the states the store may show now, oldest first.
    std::vector<Progress> play() {
        try {
            expectOk("seed " + std::to_string(_runSeed));
            // The game sees exactly what the file holds, and had nothing to say about it.
            const auto seen = _pt.ask("store");
            EXPECT_TRUE(seen && Progress::of(json::parse(*seen)).sameStore(_states.back()))
                << "the game sees " << seen.value_or("nothing") << ", the file holds "
                << _states.back().describe();
            EXPECT_EQ("[]", _pt.ask("log").value_or("no answer"));
            step(2);
            expectOk("tap 960 540");
            // The shop, reached from the title, takes in what finished rounds won since it last
            // opened, somewhere within the next frames.
            Progress entered = now();
            if (entered["roundWinnings"] != 0) {
                entered.banked += entered["roundWinnings"];
                const long long sum = entered["coinScore"] + entered["roundWinnings"];
                entered.keys["coinScore"] = sum > 10000 ? 9999 : sum;
                entered.keys["roundWinnings"] = 0;
                _states.push_back(entered);
            }
            step(150);
            _certain = _committedOnNextFrame = _states.size() - 1;
            for (;;)
                loop();
        } catch (const Killed&) {
        } catch (const Broken&) {
            _broken = true;
        }
        return {_states.begin() + static_cast<long>(_certain), _states.end()};
    }
    // The loop went off its script (a failure has been recorded).
    bool broken() const { return _broken; }

    std::string how() const {
        return _mode == Mode::AtFrame ? "killed at frame " + std::to_string(_killFrame)
                                      : "killed at write " + std::to_string(_killWrite);
    }

  private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(_rng); }
    Progress now() const { return _states.back(); }

    void expectOk(const std::string& command) {
        const auto answer = _pt.ask(command);
        if (answer != "ok") {
            ADD_FAILURE() << command << " answered " << answer.value_or("nothing (the harness died)");
            throw Broken{};
        }
    }

    // The harness is killed with the next frame under way, after a seeded short while, so the
    // kill lands before, inside or after that frame's commit.
    [[noreturn]] void kill() {
        _pt.send("step 1");
        std::this_thread::sleep_for(std::chrono::microseconds(pick(0, 1500)));
        _pt.kill(SIGKILL);
        throw Killed{};
    }

    void step(int frames) {
        while (frames > 0) {
            int chunk = frames;
            chunk = static_cast<int>(
                std::min<long long>(chunk, (_mode == Mode::AtFrame ? _killFrame : kLastKillFrame) - _frames));
            if (chunk > 0) {
                expectOk("step " + std::to_string(chunk));
                _frames += chunk;
                frames -= chunk;
                // A frame has ended: what was set before it is on disk.
                _certain = _committedOnNextFrame;
            }
            // A loop that stops writing (no coins, nothing to bank) still ends in a kill.
            if (_frames >= (_mode == Mode::AtFrame ? _killFrame : kLastKillFrame)) kill();
        }
    }

    // A tap that sets saved values: they are pending until the end of the next frame.
    void tapWrite(int x, int y, const Progress& after) {
        expectOk("tap " + std::to_string(x) + " " + std::to_string(y));
        if (after.sameStore(now())) return;
        _states.push_back(after);
        _committedOnNextFrame = _states.size() - 1;
        if (_mode == Mode::AtWrite && ++_writes == _killWrite) kill();
    }

    void loop() {
        // The shop: a few presses on the offers, some refused for want of coins or stock.
        for (int presses = pick(0, 4); presses > 0; --presses) {
            const bool time = pick(0, 1);
            const bool icon = pick(0, 1);
            Progress after = now();
            const std::string level = time ? "timeNo" : "lifeNo";
            const long long n = after[level];
            const long long price = n < 3 ? (time ? kTimePrices[n] : kLifePrices[n]) : 0;
            if (n < 3 && after["coinScore"] >= price) {
                after.keys["coinScore"] -= price;
                after.keys[level] = n + 1;
                if (n + 1 == 3) after.keys[time ? "Button1" : "Button2"] = 1;
            }
            if (time)
                tapWrite(icon ? 418 : 422, icon ? 812 : 497, after);
            else
                tapWrite(icon ? 1040 : 1037, icon ? 812 : 497, after);
            step(pick(1, 4));
        }

        // Start: the cut-scene takes the shop's values.
        Progress event = now();
        event.keys["scores"] = event["coinScore"];
        event.keys["time"] = event["timeNo"];
        event.keys["life"] = event["lifeNo"];
        tapWrite(1584, 135, event);
        step(70);

        // Skip: the round takes the cut-scene's values.
        step(pick(30, 60));
        Progress round = now();
        round.keys["scoreMoney"] = round["scores"];
        round.keys["gaug1"] = round["time"];
        round.keys["gaug2"] = round["life"];
        tapWrite(960, 540, round);

        // The round is lost to the clock: one point per extra life, banked at game over, and
        // a new best score saved two seconds later. When exactly is the round's own business.
        const long long score = round["gaug2"];
        Progress over = now();
        over.keys["scoreMoney"] += score;
        over.keys["roundWinnings"] += score;
        if (!over.sameStore(now())) _states.push_back(over);
        if (score > over["HS"]) {
            over.keys["HS"] = score;
            _states.push_back(over);
        }
        step(40);
        _pt.ask("sounds");
        for (int waited = 0;; waited += 30) {
            if (waited > 300 * 60) {
                ADD_FAILURE() << "the round never ended";
                throw Broken{};
            }
            step(30);
            const json sounds = json::parse(_pt.ask("sounds").value_or("[]"));
            bool tune = false;
            for (const json& s : sounds)
                tune = tune || (s.value("call", "") == "playBackgroundMusic" &&
                                s.value("file", "").find("gameover") != std::string::npos);
            if (tune) break;
        }
        // The tune plays 1.5 s after game over; the best score is saved at 2 s, the buttons at 2.5 s.
        step(70);
        _certain = _committedOnNextFrame = _states.size() - 1;

        // The shop button: the round's balance becomes the shop's.
        Progress shop = now();
        if (shop["scoreMoney"] != 0) {
            shop.banked += shop["scoreMoney"] - shop["coinScore"];
            shop.keys["coinScore"] = shop["scoreMoney"] > 10000 ? 9999 : shop["scoreMoney"];
        }
        shop.keys["roundWinnings"] = 0;
        tapWrite(1248, 324, shop);
        step(70);
    }

    PlaytestProcess _pt;
    std::mt19937& _rng;
    int _runSeed;
    Mode _mode = Mode::AtFrame;
    long long _killFrame = 0;
    int _killWrite = 0;
    long long _frames = 0;
    int _writes = 0;
    bool _broken = false;
    std::vector<Progress> _states;
    std::size_t _certain = 0;
    std::size_t _committedOnNextFrame = 0;
};

class KillTest : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(KillTest, EveryKillLeavesASoundStoreWithNoPurchaseHalfApplied) {
#ifdef DOVI_SANITIZE_BUILD
    GTEST_SKIP() << "hundreds of harness processes: run with the optimised build";
#endif
    const int chain = GetParam();
    std::mt19937 rng(static_cast<unsigned>(7919 * (chain + 1)));
    char dir[] = "/tmp/doviveduzuz-kill-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dir));
    const std::string home = dir;
    const std::string path = home + "/doviveduzuz/UserDefault.db";
    fs::create_directories(home + "/doviveduzuz");
    const int startCoins = std::uniform_int_distribution<int>(0, 1200)(rng);
    ASSERT_TRUE(StoreFile::write(path, {{"coinScore", startCoins}}));
    Progress state = Progress::of(StoreFile::read(path));

    for (int run = 0; run < kRunsPerChain; ++run) {
        KillRun killRun(home, state, rng, chain * 1000 + run);
        const std::vector<Progress> possible = killRun.play();
        SCOPED_TRACE("chain " + std::to_string(chain) + ", run " + std::to_string(run) + ", " +
                     killRun.how());
        ASSERT_FALSE(killRun.broken());

        const StoreFile store = StoreFile::read(path);
        ASSERT_TRUE(store.readable);
        ASSERT_EQ("ok", store.integrity);
        Progress found = Progress::of(store);
        const Progress* match = nullptr;
        for (const Progress& p : possible)
            if (p.sameStore(found)) match = &p;
        std::string expected;
        for (const Progress& p : possible)
            expected += "\n  " + p.describe();
        ASSERT_NE(nullptr, match) << "the store holds\n  " << found.describe()
                                  << "\nbut the loop only passes through" << expected;
        found.banked = match->banked;
        expectInvariants(found, startCoins);
        state = found;
    }
    // The chain got somewhere: coins banked or levels bought along the way.
    EXPECT_GT(state["HS"] + state["timeNo"] + state["lifeNo"] + state.banked, 0) << state.describe();
    fs::remove_all(home);
}

INSTANTIATE_TEST_SUITE_P(Chains, KillTest, ::testing::Range(0, kChains));
