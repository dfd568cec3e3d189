// Every scene of the loop looks as it does with each picture drawn whole. The renderer draws only
// the part of a picture that is not transparent, draws opaque pictures without blending and
// leaves out what lies outside the view. Here every picture a frame handed over is decoded anew
// from its file and drawn plainly, always blended, into a second software renderer of the same
// size, with the same kind of SDL call the renderer used (a copy, or triangles where it batched
// small pictures or a picture is turned), and the two drawings are compared:
//
// - Whole: each picture over its full canvas, as the engine used to draw it. Everywhere a picture
//   is drawn at its own size the two agree to within 2 in each channel (in place or one pixel
//   away, for corners snapped to whole pixels). Where one is drawn smaller or larger, or turned,
//   SDL's software renderer samples with nearest neighbours from the corners it is given, so a
//   drawing that starts at the visible part picks other pixels of the same picture: there, and
//   only there, the two may differ. (With OpenGL, where corners are not snapped, they do not.)
// - Visible: the same part of the fresh picture that the renderer kept, cut from it here, drawn
//   where the whole canvas puts it. The two agree to within 2 in every pixel, and the part kept
//   holds every pixel of the picture that is not transparent.
#include "tests/support/test_loop_fixture.h"

#include "engine/base/FileUtils.h"
#include "engine/graphics/Renderer.h"
#include "engine/graphics/Texture2D.h"
#include "engine/window/GLView.h"
#include "game/event/EventScene.h"
#include "game/round/result/UpgradeButton.h"
#include "harness/playtest/RoundDriver.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <vector>

using namespace cocos2d;

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
using Pixels = std::vector<Uint32>;

Pixels readPixels(SDL_Renderer* sdl) {
    SDL_RenderFlush(sdl);
    Pixels pixels(kWidth * kHeight);
    SDL_RenderReadPixels(sdl, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), kWidth * 4);
    return pixels;
}

bool upright(const Vec2 c[4]) {
    return std::abs(c[0].y - c[1].y) < 1e-3f && std::abs(c[0].x - c[3].x) < 1e-3f;
}

// Drawn at a size other than its own, in either direction, or turned: SDL's software renderer
// then samples the picture from the corners it is given, snapped to whole pixels.
bool resampled(const CapturedQuad& q) {
    if (!upright(q.corners)) return true;
    const Size canvas = q.texture->getContentSize();
    const float w = std::hypot(q.corners[1].x - q.corners[0].x, q.corners[1].y - q.corners[0].y);
    const float h = std::hypot(q.corners[3].x - q.corners[0].x, q.corners[3].y - q.corners[0].y);
    return std::abs(w - canvas.width) > 0.5f || std::abs(h - canvas.height) > 0.5f;
}

bool covers(const CapturedQuad& q, int x, int y) {
    const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(kHeight - y) - 0.5f;
    const Vec2* c = q.corners;
    return px >= std::min({c[0].x, c[1].x, c[2].x, c[3].x}) &&
           px <= std::max({c[0].x, c[1].x, c[2].x, c[3].x}) &&
           py >= std::min({c[0].y, c[1].y, c[2].y, c[3].y}) &&
           py <= std::max({c[0].y, c[1].y, c[2].y, c[3].y});
}

bool near(Uint32 a, Uint32 b) {
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff)) > 2)
            return false;
    return true;
}

bool nearNeighbour(Uint32 p, const Pixels& other, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < kWidth && ny < kHeight && near(p, other[ny * kWidth + nx]))
                return true;
        }
    return false;
}

void savePng(const Pixels& pixels, const std::string& file) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Uint32*>(pixels.data()), kWidth, kHeight,
                                                        32, kWidth * 4, SDL_PIXELFORMAT_ARGB8888);
    IMG_SavePNG(s, file.c_str());
    SDL_FreeSurface(s);
}

// The pictures covering a pixel, for a failure's message.
std::string picturesAt(const std::vector<CapturedQuad>& quads, int x, int y) {
    std::ostringstream out;
    for (const CapturedQuad& q : quads)
        if (covers(q, x, y))
            out << "[" << (q.texture ? q.texture->getName() : "plain rectangle") << ", opacity "
                << int(q.opacity) << ", blend " << q.blend << "] ";
    return out.str();
}

class Reference {
  public:
    Reference()
        : _target(SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888)),
          _sdl(SDL_CreateSoftwareRenderer(_target)) {}
    ~Reference() {
        for (auto& [texture, fresh] : _fresh) {
            if (fresh.whole) SDL_DestroyTexture(fresh.whole);
            if (fresh.visible) SDL_DestroyTexture(fresh.visible);
            SDL_FreeSurface(fresh.pixels);
        }
        SDL_DestroyRenderer(_sdl);
        SDL_FreeSurface(_target);
    }
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;

    Pixels drawWhole(const std::vector<CapturedQuad>& quads) { return draw(quads, false); }
    Pixels drawVisible(const std::vector<CapturedQuad>& quads) { return draw(quads, true); }

    // Pictures whose kept part leaves out a pixel that is not transparent, or that claim to be
    // opaque and are not.
    std::string trimFaults(const std::vector<CapturedQuad>& quads) {
        std::ostringstream faults;
        for (const CapturedQuad& q : quads) {
            if (!q.texture || !_checked.insert(q.texture).second) continue;
            const Fresh* f = fresh(q.texture);
            if (!f) continue;
            const SDL_Rect& kept = q.texture->visibleRect();
            const SDL_Surface* s = f->pixels;
            long left = 0, seeThrough = 0;
            for (int y = 0; y < s->h; ++y)
                for (int x = 0; x < s->w; ++x) {
                    const Uint32 alpha = static_cast<const Uint32*>(s->pixels)[y * s->pitch / 4 + x] >> 24;
                    const bool inside =
                        x >= kept.x && y >= kept.y && x < kept.x + kept.w && y < kept.y + kept.h;
                    left += !inside && alpha != 0;
                    seeThrough += inside && alpha != 255;
                }
            if (left > 0) faults << q.texture->getName() << ": " << left << " pixels left out; ";
            if (q.texture->isOpaque() && seeThrough > 0)
                faults << q.texture->getName() << ": called opaque with " << seeThrough
                       << " see-through pixels; ";
        }
        return faults.str();
    }

  private:
    struct Fresh {
        SDL_Surface* pixels = nullptr; // the whole canvas, ARGB8888
        SDL_Texture* whole = nullptr;
        SDL_Texture* visible = nullptr; // the part the renderer kept, cut here
    };

    const Fresh* fresh(Texture2D* texture) {
        auto it = _fresh.find(texture);
        if (it != _fresh.end()) return it->second.pixels ? &it->second : nullptr;
        Fresh& f = _fresh[texture];
        // Rendered text has no file; its canvas comes from the texture itself.
        SDL_Surface* decoded =
            IMG_Load(FileUtils::getInstance()->fullPathForFilename(texture->getName()).c_str());
        if (!decoded) decoded = texture->canvasCopy();
        if (!decoded) return nullptr;
        f.pixels = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(decoded);
        f.whole = SDL_CreateTextureFromSurface(_sdl, f.pixels);
        SDL_Rect kept = texture->visibleRect();
        if (kept.w > 0 && kept.h > 0) {
            SDL_Surface* part =
                SDL_CreateRGBSurfaceWithFormat(0, kept.w, kept.h, 32, SDL_PIXELFORMAT_ARGB8888);
            SDL_SetSurfaceBlendMode(f.pixels, SDL_BLENDMODE_NONE);
            SDL_BlitSurface(f.pixels, &kept, part, nullptr);
            f.visible = SDL_CreateTextureFromSurface(_sdl, part);
            SDL_FreeSurface(part);
        }
        return &f;
    }

    Pixels draw(const std::vector<CapturedQuad>& quads, bool visibleOnly) {
        SDL_SetRenderDrawColor(_sdl, 0, 0, 0, 255);
        SDL_RenderClear(_sdl);
        for (const CapturedQuad& q : quads) {
            if (q.opacity == 0) continue;
            if (!q.texture) {
                fill(q);
                continue;
            }
            const Fresh* f = fresh(q.texture);
            if (!f) continue;
            if (!visibleOnly) {
                drawPicture(q, f->whole, q.corners);
                continue;
            }
            if (!f->visible) continue;
            // Where the kept part lies on the whole canvas. Products before quotients, so that
            // whole pixels of a picture drawn at its own size stay whole.
            const SDL_Rect& kept = q.texture->visibleRect();
            const Size canvas = q.texture->getContentSize();
            const Vec2* c = q.corners;
            auto at = [&](int x, int y) {
                const float u = static_cast<float>(x), v = canvas.height - static_cast<float>(y);
                return Vec2(
                    c[0].x + (c[1].x - c[0].x) * u / canvas.width + (c[3].x - c[0].x) * v / canvas.height,
                    c[0].y + (c[1].y - c[0].y) * u / canvas.width + (c[3].y - c[0].y) * v / canvas.height);
            };
            const Vec2 part[4] = {at(kept.x, kept.y + kept.h), at(kept.x + kept.w, kept.y + kept.h),
                                  at(kept.x + kept.w, kept.y), at(kept.x, kept.y)};
            drawPicture(q, f->visible, part);
        }
        return readPixels(_sdl);
    }

    void fill(const CapturedQuad& q) {
        const Vec2* c = q.corners;
        const SDL_FRect box{std::min(c[0].x, c[2].x), kHeight - std::max(c[0].y, c[2].y),
                            std::abs(c[2].x - c[0].x), std::abs(c[2].y - c[0].y)};
        SDL_SetRenderDrawBlendMode(_sdl, SDL_BLENDMODE_BLEND);
        SDL_SetRenderDrawColor(_sdl, q.color.r, q.color.g, q.color.b, q.opacity);
        SDL_RenderFillRectF(_sdl, &box);
    }

    void drawPicture(const CapturedQuad& q, SDL_Texture* texture, const Vec2 c[4]) {
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
        if (upright(c) && q.drawn != CapturedQuad::Drawn::Batched) {
            const SDL_FRect box{std::min(c[0].x, c[2].x), kHeight - std::max(c[0].y, c[2].y),
                                std::abs(c[2].x - c[0].x), std::abs(c[2].y - c[0].y)};
            const int flip =
                (c[1].x < c[0].x ? SDL_FLIP_HORIZONTAL : 0) | (c[3].y < c[0].y ? SDL_FLIP_VERTICAL : 0);
            SDL_SetTextureColorMod(texture, q.color.r, q.color.g, q.color.b);
            SDL_SetTextureAlphaMod(texture, q.opacity);
            SDL_RenderCopyExF(_sdl, texture, nullptr, &box, 0, nullptr, static_cast<SDL_RendererFlip>(flip));
            return;
        }
        SDL_SetTextureColorMod(texture, 255, 255, 255);
        SDL_SetTextureAlphaMod(texture, 255);
        const SDL_Color color{q.color.r, q.color.g, q.color.b, q.opacity};
        static constexpr float kU[4] = {0, 1, 1, 0}, kV[4] = {1, 1, 0, 0};
        SDL_Vertex v[4];
        for (int i = 0; i < 4; ++i)
            v[i] = {{c[i].x, kHeight - c[i].y}, color, {kU[i], kV[i]}};
        static constexpr int kQuad[6] = {0, 1, 2, 0, 2, 3};
        SDL_RenderGeometry(_sdl, texture, v, 4, kQuad, 6);
    }

    SDL_Surface* _target;
    SDL_Renderer* _sdl;
    std::map<Texture2D*, Fresh> _fresh;
    std::set<Texture2D*> _checked;
};

class WholePicturesTest : public LoopTest {
  protected:
    // Draws the frame as it is now, and compares it with the reference's two drawings.
    void looksTheSame(const std::string& moment) {
        SCOPED_TRACE(moment);
        ++moments;
        std::vector<CapturedQuad> quads;
        Renderer::setCapture(&quads);
        Director::getInstance()->drawScene();
        Renderer::setCapture(nullptr);
        const Pixels ours = readPixels(Director::getInstance()->getOpenGLView()->getRenderer());
        const Pixels whole = reference.drawWhole(quads);
        const Pixels visible = reference.drawVisible(quads);
        EXPECT_EQ("", reference.trimFaults(quads));

        long equal = 0, close = 0, otherwise = 0, wrong = 0, wrongVisible = 0;
        int x0 = -1, y0 = -1;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const Uint32 p = ours[y * kWidth + x], w = whole[y * kWidth + x];
                equal += p == w;
                close += near(p, w);
                if (!near(p, visible[y * kWidth + x]) && wrongVisible++ == 0) x0 = x, y0 = y;
                if (nearNeighbour(p, whole, x, y) && nearNeighbour(w, ours, x, y)) continue;
                const bool inResampled = std::any_of(quads.begin(), quads.end(), [&](const CapturedQuad& q) {
                    return q.texture && q.opacity > 0 && resampled(q) && covers(q, x, y);
                });
                if (inResampled) {
                    ++otherwise;
                } else if (wrong++ == 0 && x0 < 0) {
                    x0 = x;
                    y0 = y;
                }
            }
        const double n = static_cast<double>(ours.size());
        std::cout << moment << ": " << quads.size() << " pictures; against the whole pictures "
                  << 100.0 * static_cast<double>(equal) / n << " % of pixels equal, "
                  << 100.0 * static_cast<double>(close) / n << " % within 2, "
                  << 100.0 * static_cast<double>(otherwise) / n
                  << " % sampled otherwise in pictures drawn scaled or turned\n";
        if (wrong + wrongVisible > 0) {
            const std::string stem = "/tmp/doviveduzuz-drawing-" + std::to_string(moments);
            savePng(ours, stem + "-ours.png");
            savePng(whole, stem + "-whole.png");
            savePng(visible, stem + "-visible.png");
            ADD_FAILURE() << wrong
                          << " pixels unlike the whole pictures outside any scaled or turned picture, "
                          << wrongVisible << " unlike the visible parts; first at (" << x0 << ", " << y0
                          << "), under " << picturesAt(quads, x0, y0) << "; see " << stem << "-*.png";
        }
    }

    Reference reference;
    int moments = 0;
};

} // namespace

TEST_F(WholePicturesTest, EveryScene) {
    seconds(1.5);
    looksTheSame("title");
    pt->tap(960, 540);
    seconds(1.0);
    looksTheSame("title, the plant rising");
    ASSERT_GE(framesUntilFade(), 0);
    seconds(0.45);
    looksTheSame("fade to the shop");
    framesOfFade();
    seconds(2);
    looksTheSame("shop");
    seconds(9);
    looksTheSame("shop, its show under way");

    pt->execute("key Return");
    ASSERT_NE(nullptr, arriveAt<EventScene>());
    seconds(1);
    looksTheSame("cut-scene");
    seconds(4);
    looksTheSame("cut-scene, later");

    GameLayer* layer = playtest::busiestRound(*pt);
    ASSERT_NE(nullptr, layer);
    looksTheSame("round: obstructions, bonus light, stage clear, answers");
    // The sixth answer completes the row.
    const int place = Ring::placeShowing(layer->buttonManager, layer->targetManager->targets[5]->kind);
    pt->execute(std::string("key ") + playtest::ringKey(place));
    seconds(2);
    looksTheSame("round: the planet flies past");

    pt->execute("open game 0 0 0");
    seconds(1);
    looksTheSame("round, first stage");
    for (int n = 0; n < 60 * kFps && playtest::roundLayer(*pt)->upgradeButton->getChildrenCount() == 0; ++n)
        pt->step(1);
    seconds(3);
    looksTheSame("result panel");
    EXPECT_EQ(11, moments);
}
