// Every bound input does exactly what a tap on its control does: same tree, same store, same
// sounds. Keys, gamepad buttons, stick flicks, the D-pad and fingers.
#include "game/round/GameLayer.h"
#include "harness/playtest/Playtest.h"
#include "harness/playtest/Spots.h"
#include "tests/support/ProcessRunner.h"

#include <functional>
#include <gtest/gtest.h>
#include <sstream>

using nlohmann::json;

namespace {

struct Outcome {
    json tree, store, sounds;
};

// Plays the same seeded script twice, once with a tap and once with another input (a few
// commands, `;` between them), and records both ends. A pad is plugged in for both runs.
Outcome play(const std::vector<std::string>& before, const std::string& action, int framesAfter) {
    setenv("XDG_DATA_HOME", makeTempDir().c_str(), 1);
    Playtest pt;
    pt.execute("seed 11");
    pt.execute("pad attach 0");
    for (const auto& line : before)
        pt.execute(line);
    pt.sounds();
    std::stringstream commands(action);
    for (std::string command; std::getline(commands, command, ';');)
        pt.execute(command);
    pt.step(framesAfter);
    // The menu's highlight shows for keys and pads, not for fingers: the rest must be the same.
    json tree = pt.tree();
    std::function<void(json&)> unhighlight = [&](json& node) {
        if (!node.is_object()) return;
        node.erase("highlighted");
        if (node.contains("children"))
            for (auto& child : node["children"])
                unhighlight(child);
    };
    unhighlight(tree);
    return {tree, pt.store(), pt.sounds()};
}

std::string padPress(const std::string& button) {
    return "pad button 0 " + button + " down;pad button 0 " + button + " up";
}
// A flick of the left stick toward (x, y), y up as on screen, and back to rest.
std::string flick(float x, float y) {
    return "pad axis 0 leftx " + std::to_string(x) + ";pad axis 0 lefty " + std::to_string(-y) +
           ";pad axis 0 leftx 0;pad axis 0 lefty 0";
}
// The D-pad is read a few frames after it goes down, so that diagonals arrive whole.
std::string dpad(const std::vector<std::string>& buttons) {
    std::string s;
    for (const auto& b : buttons)
        s += "pad button 0 " + b + " down;";
    s += "step 3";
    for (const auto& b : buttons)
        s += ";pad button 0 " + b + " up";
    return s;
}
std::string fingerTap(float x, float y) {
    std::ostringstream at;
    at << ' ' << x << ' ' << y;
    return "finger 3 down" + at.str() + ";finger 3 up" + at.str();
}

void expectSame(const std::vector<std::string>& before, const std::string& tap, const std::string& key,
                int framesAfter = 2) {
    const Outcome byTap = play(before, tap, framesAfter);
    const Outcome byKey = play(before, key, framesAfter);
    EXPECT_EQ(byTap.store, byKey.store) << key;
    EXPECT_EQ(byTap.sounds, byKey.sounds) << key;
    EXPECT_EQ(byTap.tree, byKey.tree) << key;
    EXPECT_FALSE(byKey.sounds.empty()) << key << " did nothing";
}

// The D-pad acts three frames late, so the tap it is compared with waits as long.
void expectSameLate(const std::vector<std::string>& before, const std::string& tap,
                    const std::string& other) {
    expectSame(before, "step 3;" + tap, other);
}

} // namespace

TEST(Controls, TitleAndCutSceneTakeSpaceAndEnterAsATap) {
    expectSame({"step 30"}, "tap 100 100", "key Space", 30);
    expectSame({"step 30"}, "tap 100 100", "key Return", 30);
    expectSame({"open event 10 1 2", "step 30"}, "tap 5 5", "key Space", 40);
}

TEST(Controls, RingKeysPressTheirButtons) {
    const char* keys[6] = {"W", "E", "D", "X", "Z", "A"};
    const char* keypad[6] = {"Keypad 7", "Keypad 9", "Keypad 6", "Keypad 3", "Keypad 1", "Keypad 4"};
    for (int i = 0; i < 6; ++i) {
        const std::string tap = Spot::tap(Spot::kRing[i]);
        expectSame({"open game 0 3 0", "step 10"}, tap, std::string("key ") + keys[i]);
        if (i % 2 == 0) expectSame({"open game 0 3 0", "step 10"}, tap, std::string("key ") + keypad[i]);
    }
    expectSame({"open game 0 3 0", "step 10", Spot::tap(Spot::kRing[1]), "step 1"}, Spot::tap(Spot::kBack),
               "key Backspace");
}

TEST(Controls, ShopKeysBuyStartAndLeave) {
    expectSame({"open shop 500", "step 2"}, Spot::tap(Spot::kTimeIcon), "key T");
    expectSame({"open shop 500", "step 2"}, Spot::tap(Spot::kLifeIcon), "key L");
    expectSame({"open shop 500", "step 2"}, Spot::tap(Spot::kStart), "key Return", 70);
    expectSame({"open shop 500", "step 2"}, Spot::tap(Spot::kTitle), "key Escape", 70);
    // The browser keeps Escape for itself: the way back there.
    expectSame({"open shop 500", "step 2"}, Spot::tap(Spot::kTitle), "key Backspace", 70);
}

TEST(Controls, ResultPanelKeysOnlyOnceItsButtonsAreThere) {
    // Life level 0 and time level 0: the first stage times out after 5 s.
    const std::vector<std::string> over = {"open game 7 0 0", "step 300", "step 20"};
    // At 1 s after game over the buttons do not exist yet: R does nothing.
    setenv("XDG_DATA_HOME", makeTempDir().c_str(), 1);
    {
        Playtest pt;
        for (const auto& l : over)
            pt.execute(l);
        pt.step(60);
        pt.sounds();
        pt.execute("key R");
        pt.step(2);
        EXPECT_EQ(pt.sounds(), json::array());
        EXPECT_NE(pt.find<GameLayer>(), nullptr);
    }
    std::vector<std::string> shown = over;
    shown.push_back("step 180");
    expectSame(shown, Spot::tap(Spot::kRetry), "key R", 70);
    expectSame(shown, Spot::tap(Spot::kGoShop), "key S", 70);
}

TEST(Controls, NoKeyDuringAFadeOrForOtherScreens) {
    setenv("XDG_DATA_HOME", makeTempDir().c_str(), 1);
    Playtest pt;
    pt.execute("open shop 500");
    pt.step(2);
    pt.execute("key Return"); // start: a one-second fade to the cut-scene
    pt.step(10);
    pt.sounds();
    const json store = pt.store();
    pt.execute("key T");
    pt.execute("key W");
    pt.step(2);
    EXPECT_EQ(pt.sounds(), json::array());
    EXPECT_EQ(pt.store(), store);
}

TEST(Controls, GamepadButtonsPressTheirControls) {
    expectSame({"step 30"}, "tap 100 100", padPress("a"), 30);
    expectSame({"step 30"}, "tap 100 100", padPress("start"), 30);
    expectSame({"open event 10 1 2", "step 30"}, "tap 5 5", padPress("a"), 40);
    expectSame({"open game 0 3 0", "step 10", Spot::tap(Spot::kRing[1]), "step 1"}, Spot::tap(Spot::kBack),
               padPress("b"));
    expectSame({"open shop 500", "step 2"}, Spot::tap(Spot::kTimeIcon), padPress("leftshoulder"));
    expectSame({"open shop 500", "step 2"}, Spot::tap(Spot::kLifeIcon), padPress("rightshoulder"));
    expectSame({"open shop 500", "step 2"}, Spot::tap(Spot::kStart), padPress("a"), 70);
    expectSame({"open shop 500", "step 2"}, Spot::tap(Spot::kStart), padPress("start"), 70);
    expectSame({"open shop 500", "step 2"}, Spot::tap(Spot::kTitle), padPress("b"), 70);
    const std::vector<std::string> shown = {"open game 7 0 0", "step 500"};
    expectSame(shown, Spot::tap(Spot::kRetry), padPress("a"), 70);
    expectSame(shown, Spot::tap(Spot::kGoShop), padPress("y"), 70);
}

TEST(Controls, SticksAndDpadPressTheRingButtonTheyPointAt) {
    const float x[6] = {758.4f, 1200, 1392, 1200, 758.4f, 585.6f};
    const float y[6] = {772.2f, 772.2f, 534.6f, 307.8f, 307.8f, 534.6f};
    // Roughly toward each button from the middle of the ring; the nearest direction wins.
    const float toward[6][2] = {{-0.6f, 0.7f}, {0.5f, 0.8f},   {0.95f, 0.1f},
                                {0.6f, -0.7f}, {-0.5f, -0.8f}, {-1, 0}};
    const std::vector<std::string> dpads[6] = {{"dpup", "dpleft"},    {"dpright", "dpup"},  {"dpright"},
                                               {"dpdown", "dpright"}, {"dpleft", "dpdown"}, {"dpleft"}};
    const std::vector<std::string> round = {"open game 0 3 0", "step 10"};
    for (int i = 0; i < 6; ++i) {
        const std::string tap = "tap " + std::to_string(x[i]) + " " + std::to_string(y[i]);
        expectSame(round, tap, flick(toward[i][0], toward[i][1]));
        expectSameLate(round, tap, dpad(dpads[i]));
    }
    // The right stick flicks too.
    expectSame(round, Spot::tap(Spot::kRing[2]), "pad axis 0 rightx 0.9;pad axis 0 rightx 0");
}

TEST(Controls, FingersTapAsTheMouseDoesAndCountOnce) {
    expectSame({"step 30"}, "tap 100 100", fingerTap(100, 100), 30);
    expectSame({"open game 0 3 0", "step 10"}, Spot::tap(Spot::kRing[1]),
               fingerTap(Spot::kRing[1].x, Spot::kRing[1].y));
    expectSame({"open shop 500", "step 2"}, Spot::tap(Spot::kTimeIcon),
               fingerTap(Spot::kTimeIcon.x, Spot::kTimeIcon.y));
}
