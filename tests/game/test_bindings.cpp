// The player's own bindings, as a player meets them: a new key or button plays its control at
// once and the old one no longer, a swap leaves nothing unbound, a refusal says why and changes
// nothing, the defaults come back, the bindings outlive the program (bad saved ones passed over),
// and a Nintendo pad confirms with the button its setting names.
#include "game/common/PlayerBindings.h"
#include "game/options/ControlsPage.h"
#include "game/round/GameLayer.h"
#include "game/round/PausePanel.h"
#include "game/title/QuitPanel.h"
#include "game/title/TitleLayer.h"
#include "harness/playtest/Ring.h"
#include "tests/support/test_loop_fixture.h"

using cocos2d::InputBinding;
using cocos2d::InputMap;
using nlohmann::json;

namespace {

class BindingsTest : public LoopTest {
  protected:
    void run(const std::string& command) { ASSERT_EQ(pt->execute(command), "ok") << command; }
    void pad(const std::string& button) {
        run("pad button 0 " + button + " down");
        run("pad button 0 " + button + " up");
    }
    ButtonManager* ring() const { return pt->find<GameLayer>()->buttonManager; }
    void openRound() {
        run("open game 0 0 0");
        for (int n = 0; n < 10 * kFps && !Ring::settled(ring()); ++n)
            pt->step(1);
        ASSERT_TRUE(Ring::settled(ring()));
    }
    // Which ring place a key pressed, or -1 when it entered nothing.
    int ringPressedBy(const std::string& key) {
        const int before = ring()->pressCount;
        run("key " + key);
        // Apart from the last press: two keys within a few frames are one press.
        pt->step(10);
        if (ring()->pressCount == before) return -1;
        return Ring::placeShowing(ring(), ring()->lastKind);
    }
    static std::string playerInput(const char* control, InputMap::Device device) {
        const InputBinding* b = InputMap::getInstance()->playerInput(control, device);
        return b ? b->name : "";
    }
    // Every listed control's inputs, written out: equal strings, equal bindings.
    static std::string everyBinding() {
        std::string all;
        for (const auto& e : PlayerBindings::listed()) {
            all += std::string(e.control) + ":";
            for (const auto& b : *InputMap::getInstance()->bindingsOf(e.control))
                all += std::to_string(static_cast<int>(b.kind)) + b.name + (b.alt ? "+alt" : "") + ",";
            all += ";";
        }
        return all;
    }
    // How many keys and how many pad buttons each listed control has.
    static std::vector<std::pair<int, int>> kindsHeld() {
        std::vector<std::pair<int, int>> out;
        for (const auto& e : PlayerBindings::listed()) {
            int keys = 0, buttons = 0;
            for (const auto& b : *InputMap::getInstance()->bindingsOf(e.control)) {
                keys += b.kind == InputBinding::Kind::Key;
                buttons += b.kind == InputBinding::Kind::PadButton;
            }
            out.emplace_back(keys, buttons);
        }
        return out;
    }
    bool pauseOpen() const { return pt->find<PausePanel>()->isOpen; }
};

TEST_F(BindingsTest, ANewKeyOrButtonPlaysAtOnceAndTheOldOneNoLonger) {
    openRound();
    const int q = ringPressedBy("Q");
    EXPECT_EQ(q, -1) << "Q is no ring key before it is bound";
    EXPECT_EQ(pt->execute("controls bind ring0 key Q"), "ok");
    EXPECT_EQ(ringPressedBy("Q"), 0);
    EXPECT_EQ(ringPressedBy("W"), -1) << "the old key still plays the top left button";
    EXPECT_EQ(ringPressedBy("Keypad 7"), 0) << "the keypad's key is the table's, not the player's";

    run("pad attach 0");
    EXPECT_EQ(pt->execute("controls bind pause pad x"), "ok");
    pad("start");
    pt->step(2);
    EXPECT_FALSE(pauseOpen()) << "Start still pauses";
    pad("x");
    pt->step(2);
    EXPECT_TRUE(pauseOpen()) << "X does not pause";
}

TEST_F(BindingsTest, SwapsKeepEveryControlBoundAndRefusalsSayWhyAndChangeNothing) {
    run("step 1");
    const auto kinds = kindsHeld();
    EXPECT_EQ(pt->execute("controls bind ring0 key E"), "ok, swapped with ring1");
    EXPECT_EQ(playerInput("ring1", InputMap::Device::Keys), "W");
    EXPECT_EQ(pt->execute("controls bind retry pad y"), "ok, swapped with goShop");
    EXPECT_EQ(playerInput("goShop", InputMap::Device::Pad), "a");
    EXPECT_EQ(kindsHeld(), kinds) << "a swap left a control without a key or button";
    openRound();
    EXPECT_EQ(ringPressedBy("E"), 0);
    EXPECT_EQ(ringPressedBy("W"), 1);

    const std::string before = everyBinding();
    const std::pair<std::string, std::string> refused[] = {
        {"controls bind ring0 key F11", "refused: The browser keeps that key for itself"},
        {"controls bind fullscreen key P", "refused: That key opens the pause panel and cannot be moved"},
        {"controls bind fullscreen pad start",
         "refused: That button opens the pause panel and cannot be moved"},
        {"controls bind panelBack key Q", "refused: That is the last key or button of: Quit the game"},
        {"controls bind ring0 key NoSuchKey", "refused"},
    };
    for (const auto& [command, says] : refused) {
        EXPECT_EQ(pt->execute(command), says);
        EXPECT_EQ(everyBinding(), before) << command << " changed the bindings";
    }
    // On the page the refusal is the note under the rows.
    run("controls open");
    run("controls pick ring0");
    run("key F11");
    EXPECT_EQ(pt->execute("controls note"), "The browser keeps that key for itself");
    EXPECT_EQ(everyBinding(), before);
}

TEST_F(BindingsTest, DefaultsRestoreAndTheBindingsOutliveTheProgramBadSavedOnesPassedOver) {
    run("step 1");
    const std::string defaults = everyBinding();
    EXPECT_EQ(pt->execute("controls bind ring0 key E"), "ok, swapped with ring1");
    run("controls bind pause pad x");
    run("controls nintendo position");
    const std::string mine = everyBinding();
    restart();
    run("step 1");
    EXPECT_EQ(everyBinding(), mine);
    EXPECT_FALSE(InputMap::getInstance()->nintendoByLabel());

    // Numbers no key or button has, a fixed key, a control of another name: each passed over.
    saved("bindKey.ring2", 9999);
    saved("bindPad.retry", 77);
    saved("bindKey.resume", 41); // Escape's place
    saved("bindKey.noLongerAControl", 20);
    restart();
    run("step 1");
    EXPECT_EQ(everyBinding(), mine);

    run("controls defaults");
    EXPECT_EQ(everyBinding(), defaults);
    EXPECT_EQ(intKey("bindKey.ring0"), 0);
    restart();
    run("step 1");
    EXPECT_EQ(everyBinding(), defaults);
}

TEST_F(BindingsTest, ANintendoPadConfirmsWithTheButtonItsSettingNames) {
    run("pad attach 0 nintendo");
    auto padBadge = [&] {
        for (const auto& b : json::parse(pt->execute("badges")))
            if (b["control"] == "tapAnywhere") return b["picture"].get<std::string>();
        return std::string();
    };
    // By its label, A: the right-hand button, which SDL calls b.
    run("open title");
    pt->step(30);
    EXPECT_EQ(padBadge(), "GameScene/badge_nintendo_b.png");
    pad("a");
    pt->step(2);
    EXPECT_TRUE(pt->find<QuitPanel>()->isOpen) << "the bottom button (B) is back, opening the quit panel";
    run("open title");
    pt->step(30);
    pad("b");
    pt->step(2);
    EXPECT_FALSE(pt->find<QuitPanel>()->isOpen);
    EXPECT_FALSE(pt->find<TitleLayer>()->canTap) << "A did not start the game";

    // By place: the bottom button confirms, as on the other pads.
    run("controls nintendo position");
    run("open title");
    pt->step(30);
    EXPECT_EQ(padBadge(), "GameScene/badge_nintendo_a.png");
    pad("b");
    pt->step(2);
    EXPECT_TRUE(pt->find<QuitPanel>()->isOpen);
}

TEST_F(BindingsTest, ThePageBindsTheNextKeyOrButtonAndEscapeCancelsThenCloses) {
    run("open title");
    pt->step(30);
    run("controls open");
    pt->step(2);
    run("key Return"); // the highlight starts on the first row: confirm
    EXPECT_EQ(pt->find<ControlsPage>()->waiting, InputMap::kConfirm);
    run("key Escape");
    EXPECT_EQ(pt->find<ControlsPage>()->waiting, "");
    EXPECT_EQ(playerInput(InputMap::kConfirm, InputMap::Device::Keys), "Return");
    run("key Return");
    run("key K");
    EXPECT_EQ(playerInput(InputMap::kConfirm, InputMap::Device::Keys), "K");
    const json rows = json::parse(pt->execute("controls rows"));
    EXPECT_EQ(rows[0]["key"], "K") << rows[0].dump();

    run("pad attach 0");
    run("controls pick ring0");
    pad("x");
    EXPECT_EQ(playerInput("ring0", InputMap::Device::Pad), "x");
    run("key Escape");
    pt->step(2);
    EXPECT_EQ(pt->find<ControlsPage>(), nullptr) << "Escape did not close the page";
    EXPECT_FALSE(pt->find<QuitPanel>()->isPausedForScheduling()) << "the title stands still after the page";
}

} // namespace
