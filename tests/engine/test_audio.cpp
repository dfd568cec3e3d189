// Sound on SDL_mixer with the dummy driver, and without any device.
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/FileUtils.h"
#include "engine/base/Log.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include "tests/support/TempDirs.h"
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace CocosDenshion::testing {
const Mix_Chunk* effectChunkForPitch(const char* file, float pitch);
}

using CocosDenshion::AudioCall;
using CocosDenshion::SimpleAudioEngine;

namespace {

void put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xff);
}

// 0.2 s of a 440 Hz sine, mono 16-bit PCM at 22050 Hz.
void writeSineWav(const std::string& path) {
    const int rate = 22050, frames = rate / 5;
    std::string wav = "RIFF";
    put(wav, 36 + frames * 2, 4);
    wav += "WAVEfmt ";
    for (auto [value, bytes] : {std::pair{16, 4}, {1, 2}, {1, 2}, {rate, 4}, {rate * 2, 4}, {2, 2}, {16, 2}})
        put(wav, static_cast<std::uint32_t>(value), bytes);
    wav += "data";
    put(wav, frames * 2, 4);
    for (int i = 0; i < frames; ++i)
        put(wav, static_cast<std::uint16_t>(std::lround(8000.0 * std::sin(2.0 * M_PI * 440.0 * i / rate))),
            2);
    std::ofstream(path, std::ios::binary) << wav;
}

std::vector<std::int16_t> samplesOf(const Mix_Chunk* chunk) {
    std::vector<std::int16_t> samples(chunk->alen / sizeof(std::int16_t));
    std::memcpy(samples.data(), chunk->abuf, samples.size() * sizeof(std::int16_t));
    return samples;
}

class AudioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SimpleAudioEngine::end();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        char pattern[] = "/tmp/dovi_audio_XXXXXX";
        ASSERT_NE(nullptr, TempDirs::keep(mkdtemp(pattern)));
        _dir = pattern;
        _savedRoot = cocos2d::FileUtils::getInstance()->getResourceRoot();
        cocos2d::FileUtils::getInstance()->setResourceRoot(_dir);
        writeSineWav(_dir + "/tone.wav");
        cocos2d::setLogObserver([this](const std::string& line) { _logs.push_back(line); });
    }

    void TearDown() override {
        SimpleAudioEngine::end();
        SimpleAudioEngine::setDeviceEnabled(true);
        cocos2d::setLogObserver({});
        cocos2d::FileUtils::getInstance()->setResourceRoot(_savedRoot);
        std::error_code ec;
        std::filesystem::remove_all(_dir, ec);
    }

    SimpleAudioEngine* engine() {
        SimpleAudioEngine* audio = SimpleAudioEngine::getInstance();
        audio->setObserver([this](const AudioCall& call) { _calls.push_back(call); });
        return audio;
    }

    std::size_t logsMentioning(const std::string& text) const {
        std::size_t n = 0;
        for (const auto& line : _logs)
            n += line.find(text) != std::string::npos;
        return n;
    }

    std::string _dir, _savedRoot;
    std::vector<std::string> _logs;
    std::vector<AudioCall> _calls;
};

// Calls are reported, and music state answered, the same way with and without a device.
class AudioModesTest : public AudioTest, public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        AudioTest::SetUp();
        SimpleAudioEngine::setDeviceEnabled(GetParam());
    }
};

TEST_P(AudioModesTest, ObserverSeesEveryCallInOrder) {
    SimpleAudioEngine* audio = engine();
    EXPECT_EQ(GetParam(), audio->hasDevice());
    audio->preloadEffect("tone.wav");
    audio->playEffect("tone.wav", true, 1.5f);
    audio->setEffectsVolume(0.5f);
    audio->preloadBackgroundMusic("tone.wav");
    audio->playBackgroundMusic("tone.wav", true);
    audio->setBackgroundMusicVolume(0.25f);
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    audio->pauseBackgroundMusic();
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    audio->resumeBackgroundMusic();
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    audio->stopBackgroundMusic(true);
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    audio->stopAllEffects();

    std::vector<std::string> names;
    for (const auto& call : _calls)
        names.push_back(call.call);
    ASSERT_EQ(
        (std::vector<std::string>{"preloadEffect", "playEffect", "setEffectsVolume", "preloadBackgroundMusic",
                                  "playBackgroundMusic", "setBackgroundMusicVolume", "pauseBackgroundMusic",
                                  "resumeBackgroundMusic", "stopBackgroundMusic", "stopAllEffects"}),
        names);
    EXPECT_EQ("tone.wav", _calls[1].file);
    EXPECT_FLOAT_EQ(1.5f, _calls[1].pitch);
    EXPECT_TRUE(_calls[1].loop);
    EXPECT_FLOAT_EQ(0.5f, _calls[2].volume);
    EXPECT_EQ("tone.wav", _calls[4].file);
    EXPECT_TRUE(_calls[4].loop);
    EXPECT_FLOAT_EQ(0.25f, _calls[5].volume);
    EXPECT_TRUE(_logs.empty()); // turning the device off is a choice, not a failure
}

TEST_P(AudioModesTest, MissingFilesAreReportedOncePerFile) {
    std::ofstream(_dir + "/broken.wav") << "RIFF....WAVEjunk";
    SimpleAudioEngine* audio = engine();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(0u, audio->playEffect("gone.wav", false, 1.0f + static_cast<float>(i)));
        audio->preloadEffect("broken.wav");
        audio->playBackgroundMusic("gone_theme.ogg", true);
    }
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    EXPECT_EQ(1u, logsMentioning("gone.wav"));
    EXPECT_EQ(1u, logsMentioning("gone_theme.ogg"));
    // Only a device can tell a file that is there but does not decode.
    EXPECT_EQ(GetParam() ? 1u : 0u, logsMentioning("broken.wav"));
    EXPECT_EQ(6u, _calls.size());
    EXPECT_EQ(GetParam(), audio->playEffect("tone.wav") > 0);
}

// The page writes some files after the game has begun: music asked for before its file came
// starts when it comes (paused if the game was), a sound that failed plays, and music the game
// moved on from stays quiet.
TEST_P(AudioModesTest, MusicAskedForBeforeItsFileStartsWhenTheFileArrives) {
    SimpleAudioEngine::filesArrived(); // before the engine exists: nothing to do
    SimpleAudioEngine* audio = engine();
    audio->preloadEffect("late_effect.wav");
    audio->playBackgroundMusic("late.wav", true);
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    SimpleAudioEngine::filesArrived();
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    std::filesystem::copy_file(_dir + "/tone.wav", _dir + "/late.wav");
    std::filesystem::copy_file(_dir + "/tone.wav", _dir + "/late_effect.wav");
    audio->pauseBackgroundMusic();
    SimpleAudioEngine::filesArrived();
    EXPECT_EQ("late.wav", audio->musicFile());
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    audio->resumeBackgroundMusic();
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    EXPECT_EQ(GetParam(), audio->playEffect("late_effect.wav") > 0);

    audio->playBackgroundMusic("later.wav", true);
    audio->stopBackgroundMusic();
    std::filesystem::copy_file(_dir + "/tone.wav", _dir + "/later.wav");
    SimpleAudioEngine::filesArrived();
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
}

INSTANTIATE_TEST_SUITE_P(Device, AudioModesTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "WithDevice" : "Silent"; });

TEST_F(AudioTest, UnknownDriverMeansSilentPlayAndOneLine) {
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    SimpleAudioEngine* audio = engine();
    EXPECT_FALSE(audio->hasDevice());
    EXPECT_EQ(0u, audio->playEffect("tone.wav"));
    EXPECT_EQ(1u, _calls.size());
    ASSERT_EQ(1u, _logs.size());
    EXPECT_NE(std::string::npos, _logs[0].find("silently")) << _logs[0];
}

TEST_F(AudioTest, VolumesReachTheMixer) {
    SimpleAudioEngine* audio = engine();
    ASSERT_TRUE(audio->hasDevice());
    audio->setEffectsVolume(0.5f);
    const unsigned int quiet = audio->playEffect("tone.wav", true, 1.0f, 0.0f, 0.5f);
    const unsigned int half = audio->playEffect("tone.wav", true);
    ASSERT_TRUE(quiet > 0 && half > 0 && quiet != half);
    EXPECT_EQ(MIX_MAX_VOLUME / 4, Mix_Volume(static_cast<int>(quiet) - 1, -1));
    EXPECT_EQ(MIX_MAX_VOLUME / 2, Mix_Volume(static_cast<int>(half) - 1, -1));
    audio->setEffectsVolume(7.0f); // clamped; sounds already playing keep theirs
    const unsigned int full = audio->playEffect("tone.wav", true);
    EXPECT_EQ(MIX_MAX_VOLUME, Mix_Volume(static_cast<int>(full) - 1, -1));
    EXPECT_EQ(MIX_MAX_VOLUME / 2, Mix_Volume(static_cast<int>(half) - 1, -1));
    audio->stopAllEffects();
    EXPECT_EQ(0, Mix_Playing(-1));

    audio->playBackgroundMusic("tone.wav", true);
    audio->setBackgroundMusicVolume(0.25f); // applies to the music already playing
    EXPECT_EQ(MIX_MAX_VOLUME / 4, Mix_VolumeMusic(-1));
    EXPECT_TRUE(_logs.empty());
}

TEST_F(AudioTest, MasterVolumeScalesWhatTheGameAsksForAndReachesSoundsPlaying) {
    SimpleAudioEngine* audio = engine();
    ASSERT_TRUE(audio->hasDevice());
    audio->playBackgroundMusic("tone.wav", true);
    audio->setBackgroundMusicVolume(0.5f);
    const int quiet = static_cast<int>(audio->playEffect("tone.wav", true, 1.0f, 0.0f, 0.5f)) - 1;
    const int full = static_cast<int>(audio->playEffect("tone.wav", true)) - 1;
    ASSERT_TRUE(quiet >= 0 && full >= 0);

    audio->setMasterVolume(0.5f);
    EXPECT_EQ(MIX_MAX_VOLUME / 4, Mix_VolumeMusic(-1));
    EXPECT_EQ(MIX_MAX_VOLUME / 4, Mix_Volume(quiet, -1));
    EXPECT_EQ(MIX_MAX_VOLUME / 2, Mix_Volume(full, -1));
    // The game's own volumes keep being what it asked for; the device gets the product.
    EXPECT_FLOAT_EQ(0.5f, audio->getBackgroundMusicVolume());
    EXPECT_FLOAT_EQ(0.25f, audio->deviceMusicVolume());
    audio->setBackgroundMusicVolume(1.0f);
    EXPECT_EQ(MIX_MAX_VOLUME / 2, Mix_VolumeMusic(-1));
    const int later = static_cast<int>(audio->playEffect("tone.wav", true, 1.0f, 0.0f, 0.5f)) - 1;
    EXPECT_EQ(MIX_MAX_VOLUME / 4, Mix_Volume(later, -1));

    // Muted, everything is silent at once; back on, everything returns to its level.
    audio->setMasterVolume(0.5f, true);
    EXPECT_EQ(0, Mix_VolumeMusic(-1));
    for (const int channel : {quiet, full, later})
        EXPECT_EQ(0, Mix_Volume(channel, -1)) << channel;
    EXPECT_FLOAT_EQ(0.0f, audio->deviceEffectsVolume());
    audio->setMasterVolume(1.0f);
    EXPECT_EQ(MIX_MAX_VOLUME, Mix_VolumeMusic(-1));
    EXPECT_EQ(MIX_MAX_VOLUME / 2, Mix_Volume(quiet, -1));
    EXPECT_EQ(MIX_MAX_VOLUME, Mix_Volume(full, -1));

    // Each change is reported with what the device gets.
    const AudioCall& muted = _calls[_calls.size() - 2];
    EXPECT_EQ("setMasterVolume", muted.call);
    EXPECT_TRUE(muted.muted);
    EXPECT_FLOAT_EQ(0.5f, muted.volume);
    EXPECT_FLOAT_EQ(0.0f, muted.device);
    const AudioCall& played = _calls[_calls.size() - 3];
    EXPECT_EQ("playEffect", played.call);
    EXPECT_FLOAT_EQ(0.25f, played.device);
}

TEST_F(AudioTest, PitchedEffectIsAResampledCachedCopy) {
    using CocosDenshion::testing::effectChunkForPitch;
    SimpleAudioEngine* audio = engine();
    ASSERT_TRUE(audio->hasDevice());
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);

    const Mix_Chunk* plain = effectChunkForPitch("tone.wav", 1.0f);
    const Mix_Chunk* high = effectChunkForPitch("tone.wav", 2.0f);
    const Mix_Chunk* low = effectChunkForPitch("tone.wav", 0.5f);
    ASSERT_TRUE(plain && high && low);
    const auto frameBytes = static_cast<Uint32>(SDL_AUDIO_BITSIZE(format) / 8 * channels);
    EXPECT_EQ(plain->alen / frameBytes / 2, high->alen / frameBytes);
    EXPECT_EQ(plain->alen / frameBytes * 2, low->alen / frameBytes);
    EXPECT_EQ(0u, high->alen % frameBytes);

    // Cached per pitch to the hundredth; 1.0 is the recording itself.
    EXPECT_EQ(high, effectChunkForPitch("tone.wav", 2.004f));
    EXPECT_NE(high, effectChunkForPitch("tone.wav", 2.01f));
    EXPECT_EQ(plain, effectChunkForPitch("tone.wav", 1.003f));
    const unsigned int id = audio->playEffect("tone.wav", false, 2.0f);
    ASSERT_GT(id, 0u);
    EXPECT_EQ(high, Mix_GetChunk(static_cast<int>(id) - 1));
    // Made from the recording: twice the pitch is every other frame (the resampler's own tests
    // have the rest).
    if (format != AUDIO_S16SYS) return;
    const auto in = samplesOf(plain), up = samplesOf(high);
    for (std::size_t i = 0; i < up.size(); i += 37 * static_cast<std::size_t>(channels))
        ASSERT_EQ(in[2 * i], up[i]) << i;
}

// The disk driver with no delay mixes as fast as it can into a file: the music's course can be
// followed by how much has been mixed, not by the clock.
TEST_F(AudioTest, LoopedMusicGoesOnAndAOneOffTuneEnds) {
    const std::string out = _dir + "/mixed.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    SimpleAudioEngine* audio = engine();
    ASSERT_TRUE(audio->hasDevice());
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    // The tone lasts a fifth of a second.
    const auto trackBytes = static_cast<std::uintmax_t>(rate / 5 * channels * SDL_AUDIO_BITSIZE(format) / 8);
    auto mixedBytes = [&] {
        std::error_code ec;
        const auto size = std::filesystem::file_size(out, ec);
        return ec ? 0 : size;
    };
    // Waits until `bytes` more have been mixed (or gives up after a generous number of checks).
    auto mixFurther = [&](std::uintmax_t bytes) {
        const std::uintmax_t goal = mixedBytes() + bytes;
        for (int i = 0; i < 20000 && mixedBytes() < goal; ++i)
            SDL_Delay(1);
        return mixedBytes() >= goal;
    };

    audio->playBackgroundMusic("tone.wav", false);
    ASSERT_TRUE(mixFurther(3 * trackBytes));
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    EXPECT_EQ(0, Mix_PlayingMusic());

    audio->playBackgroundMusic("tone.wav", true);
    ASSERT_TRUE(mixFurther(5 * trackBytes));
    EXPECT_EQ(1, Mix_PlayingMusic());
    audio->stopBackgroundMusic(false);
    SimpleAudioEngine::end();
    unsetenv("SDL_DISKAUDIOFILE");
    unsetenv("SDL_DISKAUDIODELAY");
}

} // namespace
