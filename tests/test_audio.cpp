// Sound on SDL_mixer with the dummy driver, and without any device.
#include "FileUtils.h"
#include "Log.h"
#include "SimpleAudioEngine.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

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

namespace fs = std::filesystem;
using CocosDenshion::AudioCall;
using CocosDenshion::SimpleAudioEngine;

namespace {

void put16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>(v >> 8);
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v & 0xffff));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

// A mono 16-bit PCM sine, 0.2 s long.
void writeSineWav(const std::string& path, int rate = 22050, double hz = 440.0) {
    const int frames = rate / 5;
    std::string data;
    for (int i = 0; i < frames; ++i)
        put16(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(
                        std::lround(8000.0 * std::sin(2.0 * M_PI * hz * i / rate)))));
    std::string wav = "RIFF";
    put32(wav, static_cast<std::uint32_t>(36 + data.size()));
    wav += "WAVEfmt ";
    put32(wav, 16);
    put16(wav, 1); // PCM
    put16(wav, 1); // mono
    put32(wav, static_cast<std::uint32_t>(rate));
    put32(wav, static_cast<std::uint32_t>(rate * 2));
    put16(wav, 2);
    put16(wav, 16);
    wav += "data";
    put32(wav, static_cast<std::uint32_t>(data.size()));
    wav += data;
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
        SimpleAudioEngine::setDeviceEnabled(true);
        char pattern[] = "/tmp/dovi_audio_XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
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
        fs::remove_all(_dir, ec);
    }

    SimpleAudioEngine* engineWithRecorder() {
        SimpleAudioEngine* audio = SimpleAudioEngine::getInstance();
        audio->setObserver([this](const AudioCall& call) { _calls.push_back(call); });
        return audio;
    }

    std::size_t logsMentioning(const std::string& text) const {
        std::size_t n = 0;
        for (const auto& line : _logs) n += line.find(text) != std::string::npos;
        return n;
    }

    std::string _dir, _savedRoot;
    std::vector<std::string> _logs;
    std::vector<AudioCall> _calls;
};

TEST_F(AudioTest, DummyDeviceOpensAndPlays) {
    SimpleAudioEngine* audio = SimpleAudioEngine::getInstance();
    ASSERT_TRUE(audio->hasDevice());
    const unsigned int id = audio->playEffect("tone.wav");
    ASSERT_GT(id, 0u);
    EXPECT_EQ(1, Mix_Playing(static_cast<int>(id) - 1));
    audio->stopAllEffects();
    EXPECT_EQ(0, Mix_Playing(-1));
    EXPECT_TRUE(_logs.empty());
}

TEST_F(AudioTest, UnknownDriverMeansSilentPlayWithOneLine) {
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    SimpleAudioEngine* audio = engineWithRecorder();
    EXPECT_FALSE(audio->hasDevice());
    ASSERT_EQ(1u, _logs.size());
    EXPECT_NE(std::string::npos, _logs[0].find("silently")) << _logs[0];
    EXPECT_EQ(0u, audio->playEffect("tone.wav"));
    ASSERT_EQ(1u, _calls.size());
    EXPECT_EQ("playEffect", _calls[0].call);
    EXPECT_EQ(1u, _logs.size());
}

// The same calls are reported the same way with and without a device.
class AudioCallsTest : public AudioTest, public ::testing::WithParamInterface<bool> {};

TEST_P(AudioCallsTest, ObserverSeesEveryCallInOrder) {
    SimpleAudioEngine::setDeviceEnabled(GetParam());
    SimpleAudioEngine* audio = engineWithRecorder();
    EXPECT_EQ(GetParam(), audio->hasDevice());

    audio->preloadEffect("tone.wav");
    audio->playEffect("tone.wav", true, 1.5f);
    audio->setEffectsVolume(0.5f);
    audio->preloadBackgroundMusic("tone.wav");
    audio->playBackgroundMusic("tone.wav", true);
    audio->setBackgroundMusicVolume(0.25f);
    audio->pauseBackgroundMusic();
    audio->resumeBackgroundMusic();
    audio->stopBackgroundMusic(true);
    audio->stopAllEffects();

    const std::vector<std::string> expected{
        "preloadEffect",         "playEffect",           "setEffectsVolume",         "preloadBackgroundMusic",
        "playBackgroundMusic",   "setBackgroundMusicVolume", "pauseBackgroundMusic", "resumeBackgroundMusic",
        "stopBackgroundMusic",   "stopAllEffects"};
    std::vector<std::string> names;
    for (const auto& call : _calls) names.push_back(call.call);
    ASSERT_EQ(expected, names);

    EXPECT_EQ("tone.wav", _calls[0].file);
    EXPECT_EQ("tone.wav", _calls[1].file);
    EXPECT_FLOAT_EQ(1.5f, _calls[1].pitch);
    EXPECT_TRUE(_calls[1].loop);
    EXPECT_FLOAT_EQ(0.5f, _calls[2].volume);
    EXPECT_TRUE(_calls[2].file.empty());
    EXPECT_EQ("tone.wav", _calls[4].file);
    EXPECT_TRUE(_calls[4].loop);
    EXPECT_FLOAT_EQ(0.25f, _calls[5].volume);
    EXPECT_TRUE(_logs.empty()); // setDeviceEnabled(false) is a choice, not a failure
}

INSTANTIATE_TEST_SUITE_P(Device, AudioCallsTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "WithDevice" : "Silent"; });

TEST_F(AudioTest, VolumesReachTheMixer) {
    SimpleAudioEngine* audio = SimpleAudioEngine::getInstance();
    ASSERT_TRUE(audio->hasDevice());

    audio->setEffectsVolume(0.5f);
    const unsigned int quiet = audio->playEffect("tone.wav", true, 1.0f, 0.0f, 0.5f);
    const unsigned int full = audio->playEffect("tone.wav", true);
    ASSERT_GT(quiet, 0u);
    ASSERT_GT(full, 0u);
    EXPECT_NE(quiet, full);
    EXPECT_EQ(MIX_MAX_VOLUME / 4, Mix_Volume(static_cast<int>(quiet) - 1, -1));
    EXPECT_EQ(MIX_MAX_VOLUME / 2, Mix_Volume(static_cast<int>(full) - 1, -1));
    audio->setEffectsVolume(7.0f); // out of range: as loud as it goes
    EXPECT_FLOAT_EQ(1.0f, audio->getEffectsVolume());
    const unsigned int loud = audio->playEffect("tone.wav");
    EXPECT_EQ(MIX_MAX_VOLUME, Mix_Volume(static_cast<int>(loud) - 1, -1));
    // Sounds already playing keep their volume.
    EXPECT_EQ(MIX_MAX_VOLUME / 2, Mix_Volume(static_cast<int>(full) - 1, -1));

    audio->playBackgroundMusic("tone.wav", true);
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    audio->setBackgroundMusicVolume(0.25f);
    EXPECT_EQ(MIX_MAX_VOLUME / 4, Mix_VolumeMusic(-1));
    audio->pauseBackgroundMusic();
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    audio->resumeBackgroundMusic();
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    audio->stopBackgroundMusic(true);
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    // Released music loads again on the next play.
    audio->playBackgroundMusic("tone.wav", true);
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    EXPECT_TRUE(_logs.empty());
}

TEST_F(AudioTest, MissingAndBrokenFilesAreReportedOncePerFile) {
    std::ofstream(_dir + "/broken.wav", std::ios::binary) << "RIFF....WAVEjunk";
    SimpleAudioEngine* audio = engineWithRecorder();
    ASSERT_TRUE(audio->hasDevice());

    EXPECT_EQ(0u, audio->playEffect("gone.wav"));
    EXPECT_EQ(0u, audio->playEffect("gone.wav", false, 2.0f));
    audio->preloadEffect("gone.wav");
    EXPECT_EQ(0u, audio->playEffect("broken.wav"));
    EXPECT_EQ(0u, audio->playEffect("broken.wav"));
    audio->playBackgroundMusic("gone_theme.ogg", true);
    audio->playBackgroundMusic("gone_theme.ogg", true);
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());

    EXPECT_EQ(1u, logsMentioning("gone.wav"));
    EXPECT_EQ(1u, logsMentioning("broken.wav"));
    EXPECT_EQ(1u, logsMentioning("gone_theme.ogg"));
    EXPECT_EQ(3u, _logs.size());
    EXPECT_EQ(7u, _calls.size()); // still reported, every time
    // A good file alongside still plays.
    EXPECT_GT(audio->playEffect("tone.wav"), 0u);
}

TEST_F(AudioTest, SilentEngineStillChecksFilesAndTracksMusic) {
    SimpleAudioEngine::setDeviceEnabled(false);
    SimpleAudioEngine* audio = engineWithRecorder();
    EXPECT_FALSE(audio->hasDevice());

    EXPECT_EQ(0u, audio->playEffect("tone.wav"));
    EXPECT_EQ(0u, audio->playEffect("lost.wav"));
    EXPECT_EQ(0u, audio->playEffect("lost.wav"));
    audio->preloadBackgroundMusic("lost_theme.ogg");
    audio->playBackgroundMusic("lost_theme.ogg");
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    EXPECT_EQ(1u, logsMentioning("lost.wav"));
    EXPECT_EQ(1u, logsMentioning("lost_theme.ogg"));
    EXPECT_EQ(2u, _logs.size());

    // The game sees the same music state it would with sound.
    audio->playBackgroundMusic("tone.wav", true);
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    audio->pauseBackgroundMusic();
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    audio->resumeBackgroundMusic();
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    audio->stopBackgroundMusic();
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    EXPECT_EQ(9u, _calls.size());
    EXPECT_EQ(nullptr, CocosDenshion::testing::effectChunkForPitch("tone.wav", 2.0f));
}

TEST_F(AudioTest, PitchedEffectIsAResampledCachedCopy) {
    SimpleAudioEngine* audio = SimpleAudioEngine::getInstance();
    ASSERT_TRUE(audio->hasDevice());
    int rate = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_NE(0, Mix_QuerySpec(&rate, &format, &channels));

    const Mix_Chunk* plain = CocosDenshion::testing::effectChunkForPitch("tone.wav", 1.0f);
    ASSERT_NE(nullptr, plain);
    const Mix_Chunk* high = CocosDenshion::testing::effectChunkForPitch("tone.wav", 2.0f);
    const Mix_Chunk* low = CocosDenshion::testing::effectChunkForPitch("tone.wav", 0.5f);
    ASSERT_NE(nullptr, high);
    ASSERT_NE(nullptr, low);
    EXPECT_NE(plain, high);

    const auto frameBytes = static_cast<Uint32>(SDL_AUDIO_BITSIZE(format) / 8 * channels);
    const Uint32 plainFrames = plain->alen / frameBytes;
    EXPECT_EQ(0u, high->alen % frameBytes);
    EXPECT_EQ(plainFrames / 2, high->alen / frameBytes);
    EXPECT_EQ(plainFrames * 2, low->alen / frameBytes);

    // Cached per pitch to the hundredth; 1.0 is the recording itself.
    EXPECT_EQ(high, CocosDenshion::testing::effectChunkForPitch("tone.wav", 2.0f));
    EXPECT_EQ(high, CocosDenshion::testing::effectChunkForPitch("tone.wav", 2.004f));
    EXPECT_EQ(plain, CocosDenshion::testing::effectChunkForPitch("tone.wav", 1.003f));
    EXPECT_NE(high, CocosDenshion::testing::effectChunkForPitch("tone.wav", 2.01f));

    // playEffect plays that very copy.
    const unsigned int id = audio->playEffect("tone.wav", false, 2.0f);
    ASSERT_GT(id, 0u);
    EXPECT_EQ(high, Mix_GetChunk(static_cast<int>(id) - 1));

    if (format != AUDIO_S16SYS) GTEST_SKIP() << "sample check written for 16-bit output";
    // Twice the pitch takes every other frame; half the pitch puts midpoints between them.
    const auto in = samplesOf(plain), up = samplesOf(high), down = samplesOf(low);
    const auto ch = static_cast<std::size_t>(channels);
    for (std::size_t frame = 0; frame < up.size() / ch; frame += 97)
        for (std::size_t c = 0; c < ch; ++c) ASSERT_EQ(in[2 * frame * ch + c], up[frame * ch + c]) << frame;
    for (std::size_t frame = 0; frame + 1 < in.size() / ch; frame += 89) {
        for (std::size_t c = 0; c < ch; ++c) {
            const double mid = (in[frame * ch + c] + in[(frame + 1) * ch + c]) / 2.0;
            ASSERT_EQ(in[frame * ch + c], down[2 * frame * ch + c]) << frame;
            ASSERT_NEAR(mid, down[(2 * frame + 1) * ch + c], 0.5) << frame;
        }
    }
}

} // namespace
