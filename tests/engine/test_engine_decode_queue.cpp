// Pictures decoded on worker threads: every request is answered with the right pixels, work
// still queued when the queue goes is finished first, and a picture whose header reads well but
// whose pixels do not is reported once, when it is needed, and draws nothing.
#include "engine/base/Log.h"
#include "engine/graphics/DecodeQueue.h"
#include "engine/graphics/Renderer.h"
#include "engine/graphics/Texture2D.h"
#include "engine/graphics/TextureCache.h"
#include "tests/support/EngineFixture.h"

#include <sys/resource.h>

#include <fstream>
#include <future>
#include <string>
#include <vector>

USING_NS_CC;

namespace {

std::vector<std::string> g_lines;

} // namespace

TEST_F(MediaTest, EveryRequestIsAnsweredWithItsOwnPictureEvenAsTheQueueGoes) {
    std::vector<std::future<Picture>> pending;
    {
        DecodeQueue queue(2);
        for (int i = 0; i < 24; ++i) {
            const int w = 8 + i, h = 30 - i;
            const std::string name =
                picture("dq" + std::to_string(i) + ".png", w, h, 0xff000000u | static_cast<Uint32>(i));
            pending.push_back(queue.decode(root + "/" + name, static_cast<long>(w) * h));
        }
        // The queue is destroyed with most of the work still waiting: it finishes it first.
    }
    for (int i = 0; i < 24; ++i) {
        ASSERT_EQ(std::future_status::ready, pending[i].wait_for(std::chrono::seconds(0))) << i;
        const Picture p = pending[i].get();
        ASSERT_TRUE(p.valid()) << i << ": " << p.error();
        EXPECT_EQ(8 + i, p.canvasWidth());
        EXPECT_EQ(30 - i, p.canvasHeight());
        EXPECT_TRUE(p.opaque());
        ASSERT_NE(nullptr, p.pixels());
        EXPECT_EQ(0xff000000u | static_cast<Uint32>(i), static_cast<const Uint32*>(p.pixels()->pixels)[0]);
    }
}

TEST_F(MediaTest, APictureThatFailsToDecodeAfterAGoodHeaderIsReportedOnceAndDrawsNothing) {
    // A real header, then garbage where the pixels should be.
    const std::string good = picture("dq-good.png", 32, 16);
    std::ifstream in(root + "/" + good, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bytes.resize(40);
    bytes += std::string(200, '\x5a');
    std::ofstream(root + "/dq-broken.png", std::ios::binary) << bytes;

    g_lines.clear();
    setLogObserver([](const std::string& line) { g_lines.push_back(line); });
    Texture2D* texture = TextureCache::getInstance()->addImage("dq-broken.png");
    ASSERT_NE(nullptr, texture) << "the header alone makes the picture";
    EXPECT_EQ(Size(32, 16), texture->getContentSize());
    EXPECT_EQ(0, texture->visibleRect().w);
    EXPECT_FALSE(texture->isOpaque()); // asked again: still said only once

    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 64, 64, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Renderer* sdl = SDL_CreateSoftwareRenderer(target);
    {
        Renderer renderer(sdl, 64);
        renderer.drawTexture(texture, AffineTransform::IDENTITY, Rect(0, 0, 32, 16), Color3B::WHITE, 255);
        EXPECT_EQ(0u, renderer.quadsDrawn());
        EXPECT_EQ(nullptr, texture->textureFor(sdl));
    }
    TextureCache::getInstance()->removeAllTextures();
    SDL_DestroyRenderer(sdl);
    SDL_FreeSurface(target);
    setLogObserver(nullptr);
    ASSERT_EQ(1u, g_lines.size());
    EXPECT_NE(std::string::npos, g_lines[0].find("dq-broken.png")) << g_lines[0];
}

TEST_F(MediaTest, APictureTooLargeToDrawIsRefusedFromItsHeaderAndNamed) {
    // Headers that promise 20000 x 20000 pixels (1.6 GB decoded), with barely any data behind.
    const std::string png = picture("dq-small.png", 4, 4);
    std::ifstream in(root + "/" + png, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const int at : {16, 20})
        bytes.replace(at, 4, std::string("\x00\x00\x4e\x20", 4));
    Uint32 crc = 0xffffffffu; // over "IHDR" and its fields, so the decoder believes them
    for (int i = 12; i < 29; ++i) {
        crc ^= static_cast<unsigned char>(bytes[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc >> 1 ^ (crc & 1 ? 0xedb88320u : 0);
    }
    for (int i = 0; i < 4; ++i)
        bytes[29 + i] = static_cast<char>(~crc >> (24 - 8 * i));
    std::ofstream(root + "/dq-bomb.png", std::ios::binary) << bytes;
    const unsigned char jpeg[] = {0xff, 0xd8, 0xff, 0xe0, 0x00, 0x04, 'J',  'F',  0xff,
                                  0xc0, 0x00, 0x11, 0x08, 0x4e, 0x20, 0x4e, 0x20, 0x03,
                                  1,    0x22, 0,    2,    0x11, 1,    3,    0x11, 1};
    std::ofstream(root + "/dq-bomb.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg), sizeof jpeg);

    g_lines.clear();
    setLogObserver([](const std::string& line) { g_lines.push_back(line); });
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    for (const char* name : {"dq-bomb.png", "dq-bomb.jpg"}) {
        EXPECT_EQ(nullptr, TextureCache::getInstance()->addImage(name)) << name;
        EXPECT_FALSE(Picture::decodeFile(root + "/" + name).valid()) << name;
    }
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    setLogObserver(nullptr);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 200 * 1024) << "kB more at the peak";
    ASSERT_EQ(2u, g_lines.size()) << testing::PrintToString(g_lines);
    EXPECT_NE(std::string::npos, g_lines[0].find("\"dq-bomb.png\": 20000 x 20000 pixels")) << g_lines[0];
    EXPECT_NE(std::string::npos, g_lines[1].find("\"dq-bomb.jpg\": 20000 x 20000 pixels")) << g_lines[1];
    TextureCache::getInstance()->removeAllTextures();
}
