// The player's sound setting through the harness: M and the pad's Back mute, minus and equals (and
// the keypad's) step the volume; the device gets the game's volumes times the setting; a note
// shows for a moment above everything; the setting outlives a restart.
#include "harness/playtest/Playtest.h"
#include "harness/soak/StoreFile.h"
#include "tests/support/ProcessRunner.h"

#include <SDL_image.h>
#include <cstring>
#include <gtest/gtest.h>

using nlohmann::json;

namespace {

constexpr double kNear = 1e-5;

// The entries of one call, in order.
std::vector<json> callsOf(const json& sounds, const std::string& call) {
    std::vector<json> out;
    for (const auto& s : sounds)
        if (s["call"] == call) out.push_back(s);
    return out;
}

// The one setting change a single key press makes.
json settingAfter(Playtest& pt, const std::string& command) {
    pt.sounds();
    pt.execute(command);
    const auto changes = callsOf(pt.sounds(), "setMasterVolume");
    EXPECT_EQ(changes.size(), 1u) << command;
    return changes.empty() ? json::object() : changes.back();
}

std::string noteText(Playtest& pt) {
    const json notes = json::parse(pt.execute("notes"));
    for (const auto& note : notes)
        if (note["key"] == "sound") return note["text"];
    return "";
}

class SoundSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home = makeTempDir();
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        pt = std::make_unique<Playtest>();
        pt->execute("seed 4");
        pt->step(30);
        pt->sounds();
    }
    std::string home;
    std::unique_ptr<Playtest> pt;
};

TEST_F(SoundSettingsTest, MuteSilencesTheDeviceWhileTheGameAsksAsBefore) {
    const json muted = settingAfter(*pt, "key M");
    EXPECT_TRUE(muted["muted"].get<bool>());
    EXPECT_NEAR(muted["volume"].get<double>(), 1.0, kNear);
    EXPECT_EQ(muted["music"].get<double>(), 0.0);
    EXPECT_EQ(muted["effects"].get<double>(), 0.0);
    EXPECT_EQ(noteText(*pt), "Sound off");

    // A round sets its own volumes as ever; none of them reaches the device.
    pt->execute("open game 0 0 0");
    pt->step(5);
    const json round = pt->sounds();
    const auto music = callsOf(round, "setBackgroundMusicVolume");
    ASSERT_FALSE(music.empty());
    EXPECT_NEAR(music[0]["volume"].get<double>(), 0.9, kNear);
    EXPECT_EQ(music[0]["device"].get<double>(), 0.0);
    EXPECT_EQ(callsOf(round, "playBackgroundMusic").at(0)["device"].get<double>(), 0.0);

    const json on = settingAfter(*pt, "key M");
    EXPECT_FALSE(on["muted"].get<bool>());
    // Back on, the device gets the music's volume as the round last asked for it.
    EXPECT_NEAR(on["music"].get<double>(), music.back()["volume"].get<double>(), kNear);
    EXPECT_EQ(noteText(*pt), "Volume 100 %");
}

TEST_F(SoundSettingsTest, ThePadsBackButtonMutesAndBStaysTheRoundsBackButton) {
    pt->execute("open game 0 0 0");
    pt->execute("pad attach 0");
    pt->step(5);
    pt->sounds();
    pt->execute("pad button 0 b down");
    pt->execute("pad button 0 b up");
    pt->step(1);
    EXPECT_TRUE(callsOf(pt->sounds(), "setMasterVolume").empty());

    const json muted = settingAfter(*pt, "pad button 0 back down");
    pt->execute("pad button 0 back up");
    EXPECT_TRUE(muted.value("muted", false));
    EXPECT_TRUE(json::parse(pt->execute("store"))["soundMuted"].get<bool>());
}

TEST_F(SoundSettingsTest, VolumeStepsByTenWithinZeroToAHundredAndEitherWayUnmutes) {
    // The title asks for its music at 0.5: the device gets half the setting.
    for (const auto& [command, percent] : std::vector<std::pair<std::string, int>>{
             {"key -", 90}, {"key Keypad -", 80}, {"key -", 70}, {"key =", 80}, {"key Keypad +", 90}}) {
        const json setting = settingAfter(*pt, command);
        EXPECT_NEAR(setting["volume"].get<double>(), percent / 100.0, kNear) << command;
        EXPECT_NEAR(setting["music"].get<double>(), percent / 200.0, kNear) << command;
        EXPECT_NEAR(setting["effects"].get<double>(), percent / 100.0, kNear) << command;
        EXPECT_EQ(noteText(*pt), "Volume " + std::to_string(percent) + " %") << command;
    }
    settingAfter(*pt, "key =");
    EXPECT_NEAR(settingAfter(*pt, "key =")["volume"].get<double>(), 1.0, kNear);
    for (int i = 0; i < 12; ++i)
        pt->execute("key -");
    EXPECT_EQ(noteText(*pt), "Volume 0 %");
    EXPECT_EQ(json::parse(pt->execute("store"))["musicVolumePercent"], 0);
    EXPECT_EQ(json::parse(pt->execute("store"))["effectsVolumePercent"], 0);

    // Muted at 50 %, either key turns the sound back on one step away.
    for (int i = 0; i < 5; ++i)
        pt->execute("key =");
    settingAfter(*pt, "key M");
    json up = settingAfter(*pt, "key =");
    EXPECT_FALSE(up["muted"].get<bool>());
    EXPECT_NEAR(up["volume"].get<double>(), 0.6, kNear);
    settingAfter(*pt, "key M");
    json down = settingAfter(*pt, "key Keypad -");
    EXPECT_FALSE(down["muted"].get<bool>());
    EXPECT_NEAR(down["volume"].get<double>(), 0.5, kNear);

    // Keys of the setting's own: nothing of the game's progress was written.
    pt->step(1);
    const json store = json::parse(pt->execute("store"));
    EXPECT_EQ(store, json({{"soundMuted", false}, {"musicVolumePercent", 50}, {"effectsVolumePercent", 50}}));
}

// Pixels of two pictures of the design size that differ, inside and outside the top-right corner.
std::pair<int, int> differences(const std::string& a, const std::string& b) {
    SDL_Surface* sa = IMG_Load(a.c_str());
    SDL_Surface* sb = IMG_Load(b.c_str());
    std::pair<int, int> counts{-1, -1};
    if (sa && sb && sa->w == sb->w && sa->h == sb->h && sa->format->format == sb->format->format) {
        counts = {0, 0};
        for (int y = 0; y < sa->h; ++y) {
            const auto* ra = static_cast<const Uint8*>(sa->pixels) + y * sa->pitch;
            const auto* rb = static_cast<const Uint8*>(sb->pixels) + y * sb->pitch;
            for (int x = 0; x < sa->w; ++x) {
                const int bpp = sa->format->BytesPerPixel;
                if (std::memcmp(ra + x * bpp, rb + x * bpp, static_cast<std::size_t>(bpp)) == 0) continue;
                (x > sa->w - 500 && y < 200 ? counts.first : counts.second)++;
            }
        }
    }
    SDL_FreeSurface(sa);
    SDL_FreeSurface(sb);
    return counts;
}

TEST_F(SoundSettingsTest, TheNoteLastsAboutOneAndAHalfSecondsAboveAFadeAndLetsTouchesThrough) {
    // From the shop back to the title: a fade of one second.
    pt->execute("open shop 0");
    pt->step(5);
    pt->execute("key Escape");
    pt->step(20);
    ASSERT_EQ(pt->tree()["type"], "TransitionFade");
    const json sceneBefore = pt->tree();
    const std::string plain = home + "/plain.png", noted = home + "/noted.png";
    pt->execute("shot " + plain);
    pt->execute("key M");
    pt->execute("shot " + noted);
    // Drawn over the fade, in its corner only, and not part of either scene.
    const auto [corner, elsewhere] = differences(plain, noted);
    EXPECT_GT(corner, 500);
    EXPECT_EQ(elsewhere, 0);
    EXPECT_EQ(pt->tree(), sceneBefore);

    pt->step(89);
    EXPECT_EQ(noteText(*pt), "Sound off");
    pt->step(2);
    EXPECT_EQ(noteText(*pt), "");
    EXPECT_EQ(pt->tree()["type"], "TitleScene");

    // A tap where the note stands reaches the title underneath.
    pt->step(30);
    pt->execute("key M");
    pt->sounds();
    pt->execute("tap 1850 1040");
    EXPECT_EQ(callsOf(pt->sounds(), "playBackgroundMusic").at(0)["file"], "Music/decision24.mp3");
}

TEST(SoundSettingsRestart, TheSettingOutlivesARestartOfTheHarness) {
    const std::string home = makeTempDir();
    ASSERT_EQ(runPlaytest("step 2\nkey Keypad -\nkey -\nkey M\nstep 1\n", home).exitStatus, 0);

    const auto second = runPlaytest("sounds\nstore\nkey M\nsounds\n", home);
    ASSERT_EQ(second.lines.size(), 4u) << second.errors;
    const json atStart = json::parse(second.lines[0]);
    const json first = callsOf(atStart, "setMasterVolume").at(0);
    EXPECT_NEAR(first["volume"].get<double>(), 0.8, kNear);
    EXPECT_TRUE(first["muted"].get<bool>());
    // The setting is in place before the title's music starts.
    EXPECT_EQ(atStart[0]["call"], "setMasterVolume");
    EXPECT_EQ(callsOf(atStart, "playBackgroundMusic").at(0)["device"].get<double>(), 0.0);
    const json store = json::parse(second.lines[1]);
    EXPECT_EQ(store["musicVolumePercent"], 80);
    EXPECT_EQ(store["effectsVolumePercent"], 80);
    EXPECT_EQ(store["soundMuted"], true);
    EXPECT_NEAR(callsOf(json::parse(second.lines[3]), "setMasterVolume").at(0)["music"].get<double>(), 0.4,
                kNear);

    // A store edited by hand is read onto the steps.
    const std::string path = home + "/doviveduzuz/UserDefault.db";
    for (const auto& [stored, volume] :
         std::vector<std::pair<int, double>>{{73, 0.7}, {250, 1.0}, {-40, 0.0}}) {
        ASSERT_TRUE(StoreFile::write(path, {{"musicVolumePercent", stored}}, {{"soundMuted", false}}));
        const auto run = runPlaytest("sounds\n", home);
        ASSERT_EQ(run.lines.size(), 1u) << run.errors;
        EXPECT_NEAR(callsOf(json::parse(run.lines[0]), "setMasterVolume").at(0)["volume"].get<double>(),
                    volume, kNear)
            << stored;
    }
}

} // namespace
