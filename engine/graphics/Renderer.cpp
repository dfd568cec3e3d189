#include "engine/graphics/Renderer.h"

#include "engine/graphics/Texture2D.h"

#include <algorithm>
#include <cmath>

namespace cocos2d {

namespace {

// Turns below this (relative to the scale) are rounding, not a tilt.
constexpr float kTilt = 1e-5f;

struct Bounds {
    float minX, minY, maxX, maxY;
    explicit Bounds(const Vec2 c[4])
        : minX(std::min({c[0].x, c[1].x, c[2].x, c[3].x})), minY(std::min({c[0].y, c[1].y, c[2].y, c[3].y})),
          maxX(std::max({c[0].x, c[1].x, c[2].x, c[3].x})), maxY(std::max({c[0].y, c[1].y, c[2].y, c[3].y})) {
    }
    bool overlaps(const Rect& r) const {
        return maxX > r.origin.x && minX < r.origin.x + r.size.width && maxY > r.origin.y &&
               minY < r.origin.y + r.size.height;
    }
};

} // namespace

Renderer::Renderer(SDL_Renderer* sdl, float designHeight) : _sdl(sdl), _designHeight(designHeight) {
    int w = 0, h = 0;
    SDL_RenderGetLogicalSize(sdl, &w, &h);
    if (w == 0) SDL_GetRendererOutputSize(sdl, &w, &h);
    _view = Rect(0, 0, static_cast<float>(w), designHeight);
    float scaleX = 0, scaleY = 0;
    SDL_RenderGetScale(sdl, &scaleX, &scaleY);
    _unscaled = scaleX == 1 && scaleY == 1;
}

void Renderer::drawTexture(Texture2D* texture, const AffineTransform& transform, const Rect& area,
                           const Color3B& color, uint8_t opacity) {
    if (!texture) return;
    const float x0 = area.origin.x, y0 = area.origin.y;
    const float x1 = x0 + area.size.width, y1 = y0 + area.size.height;
    Waiting w{{texture,
               {transform.apply({x0, y0}), transform.apply({x1, y0}), transform.apply({x1, y1}),
                transform.apply({x0, y1})},
               color,
               opacity},
              false,
              false,
              false,
              nullptr,
              0};
    if (s_capture) {
        w.capture = s_capture;
        w.captured = s_capture->size();
        s_capture->push_back(w.quad);
    }
    if (opacity == 0 || !Bounds(w.quad.corners).overlaps(_view)) return;

    // Only the visible part of the canvas is drawn; canvas rows run down from the top.
    const SDL_Rect& visible = texture->visibleRect();
    if (visible.w == 0 || visible.h == 0) return;
    const Size canvas = texture->getContentSize();
    const float sx = area.size.width / canvas.width, sy = area.size.height / canvas.height;
    const float vx0 = x0 + static_cast<float>(visible.x) * sx, vx1 = vx0 + static_cast<float>(visible.w) * sx;
    const float vy1 = y1 - static_cast<float>(visible.y) * sy, vy0 = vy1 - static_cast<float>(visible.h) * sy;
    const Vec2 corners[4] = {transform.apply({vx0, vy0}), transform.apply({vx1, vy0}),
                             transform.apply({vx1, vy1}), transform.apply({vx0, vy1})};
    const Bounds bounds(corners);
    if (!bounds.overlaps(_view)) return;
    SDL_Texture* sdlTexture = texture->textureFor(_sdl);
    if (!sdlTexture) return;

    const SDL_BlendMode blend =
        texture->isOpaque() && opacity == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND;
    if (sdlTexture != _runTexture || blend != _runBlend) {
        flush();
        _runTexture = sdlTexture;
        _runBlend = blend;
    }
    CapturedQuad& q = w.quad;
    q.blend = blend;
    const SDL_Color c{color.r, color.g, color.b, opacity};
    static constexpr float kU[4] = {0, 1, 1, 0};
    static constexpr float kV[4] = {1, 1, 0, 0};
    for (int i = 0; i < 4; ++i)
        q.vertices[i] = {{corners[i].x, _designHeight - corners[i].y}, c, {kU[i], kV[i]}};
    const float tilt = kTilt * (std::abs(transform.a) + std::abs(transform.d));
    w.upright = std::abs(transform.b) <= tilt && std::abs(transform.c) <= tilt;
    w.small = bounds.maxX - bounds.minX <= kBatchedEdge && bounds.maxY - bounds.minY <= kBatchedEdge;
    q.destination = {bounds.minX, _designHeight - bounds.maxY, bounds.maxX - bounds.minX,
                     bounds.maxY - bounds.minY};
    q.flip = static_cast<SDL_RendererFlip>((transform.a < 0 ? SDL_FLIP_HORIZONTAL : 0) |
                                           (transform.d < 0 ? SDL_FLIP_VERTICAL : 0));
    const SDL_FRect& d = q.destination;
    w.pixelForPixel = _unscaled && w.upright && d.x == std::floor(d.x) && d.y == std::floor(d.y) &&
                      d.w == static_cast<float>(visible.w) && d.h == static_cast<float>(visible.h);
    _run.push_back(w);
    ++_quads;
}

void Renderer::flush() {
    if (!_run.empty()) {
        SDL_SetTextureBlendMode(_runTexture, _runBlend);
        const bool batchAll = _run.size() > 1 &&
                              std::all_of(_run.begin(), _run.end(), [](const Waiting& w) { return w.small; });
        std::size_t i = 0;
        while (i < _run.size()) {
            if (!batchAll && _run[i].upright) {
                copy(_run[i++]);
                continue;
            }
            std::size_t end = i + 1;
            while (end < _run.size() && (batchAll || !_run[end].upright))
                ++end;
            drawBatch(i, end);
            i = end;
        }
        _run.clear();
    }
    _runTexture = nullptr;
}

void Renderer::sampleAs(SDL_ScaleMode mode) {
    SDL_ScaleMode now = mode;
    SDL_GetTextureScaleMode(_runTexture, &now);
    if (now == mode) return;
    // SDL sets a texture's sampling at once, not in order with the drawing it has queued.
    SDL_RenderFlush(_sdl);
    SDL_SetTextureScaleMode(_runTexture, mode);
}

void Renderer::copy(Waiting& w) {
    CapturedQuad& q = w.quad;
    q.sampling = w.pixelForPixel ? SDL_ScaleModeNearest : q.texture->getFiltering();
    sampleAs(q.sampling);
    SDL_SetTextureColorMod(_runTexture, q.color.r, q.color.g, q.color.b);
    SDL_SetTextureAlphaMod(_runTexture, q.opacity);
    SDL_RenderCopyExF(_sdl, _runTexture, nullptr, &q.destination, 0, nullptr, q.flip);
    record(w, CapturedQuad::Drawn::Copied);
}

void Renderer::drawBatch(std::size_t first, std::size_t end) {
    // The vertices carry the colours.
    sampleAs(_run[first].quad.texture->getFiltering());
    SDL_SetTextureColorMod(_runTexture, 255, 255, 255);
    SDL_SetTextureAlphaMod(_runTexture, 255);
    _vertices.clear();
    _indices.clear();
    for (std::size_t i = first; i < end; ++i) {
        const int base = static_cast<int>(_vertices.size());
        _vertices.insert(_vertices.end(), std::begin(_run[i].quad.vertices), std::end(_run[i].quad.vertices));
        for (int k : {0, 1, 2, 0, 2, 3})
            _indices.push_back(base + k);
        _run[i].quad.sampling = _run[i].quad.texture->getFiltering();
        record(_run[i], CapturedQuad::Drawn::Batched);
    }
    SDL_RenderGeometry(_sdl, _runTexture, _vertices.data(), static_cast<int>(_vertices.size()),
                       _indices.data(), static_cast<int>(_indices.size()));
}

void Renderer::record(Waiting& w, CapturedQuad::Drawn drawn) {
    w.quad.drawn = drawn;
    if (w.capture && w.captured < w.capture->size()) (*w.capture)[w.captured] = w.quad;
}

void Renderer::fillScreen(const Color3B& color, uint8_t opacity) {
    fillRect(_view, color, opacity);
}

void Renderer::fillRect(const Rect& area, const Color3B& color, uint8_t opacity) {
    const float x0 = area.origin.x, y0 = area.origin.y;
    const float x1 = x0 + area.size.width, y1 = y0 + area.size.height;
    CapturedQuad fill{nullptr, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, color, opacity};
    fill.destination = {x0, _designHeight - y1, area.size.width, area.size.height};
    if (opacity > 0) {
        flush();
        fill.blend = opacity == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND;
        fill.drawn = CapturedQuad::Drawn::Copied;
        SDL_SetRenderDrawBlendMode(_sdl, fill.blend);
        SDL_SetRenderDrawColor(_sdl, color.r, color.g, color.b, opacity);
        SDL_RenderFillRectF(_sdl, &fill.destination);
    }
    if (s_capture) s_capture->push_back(fill);
}

} // namespace cocos2d
