#include "Renderer.h"

#include "Texture2D.h"

namespace cocos2d {

void Renderer::drawQuad(Texture2D* texture, const Vec2 corners[4], const Color3B& color, uint8_t opacity) {
    SDL_Texture* sdlTexture = texture->textureFor(_sdl);
    if (!sdlTexture) return;
    if (s_capture)
        s_capture->push_back({texture, {corners[0], corners[1], corners[2], corners[3]}, color, opacity});
    if (sdlTexture != _batchTexture) {
        flush();
        _batchTexture = sdlTexture;
    }
    const SDL_Color c{color.r, color.g, color.b, opacity};
    static constexpr float kU[4] = {0, 1, 1, 0};
    static constexpr float kV[4] = {1, 1, 0, 0};
    const int base = static_cast<int>(_vertices.size());
    for (int i = 0; i < 4; ++i)
        _vertices.push_back({{corners[i].x, _designHeight - corners[i].y}, c, {kU[i], kV[i]}});
    for (int i : {0, 1, 2, 0, 2, 3})
        _indices.push_back(base + i);
    ++_quads;
}

void Renderer::drawTexture(Texture2D* texture, const AffineTransform& transform, const Rect& area,
                           const Color3B& color, uint8_t opacity) {
    if (!texture || opacity == 0) return;
    const float x0 = area.origin.x, y0 = area.origin.y;
    const float x1 = x0 + area.size.width, y1 = y0 + area.size.height;
    const Vec2 corners[4] = {transform.apply({x0, y0}), transform.apply({x1, y0}), transform.apply({x1, y1}),
                             transform.apply({x0, y1})};
    drawQuad(texture, corners, color, opacity);
}

void Renderer::fillScreen(const Color3B& color, uint8_t opacity) {
    flush();
    SDL_SetRenderDrawBlendMode(_sdl, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(_sdl, color.r, color.g, color.b, opacity);
    SDL_RenderFillRect(_sdl, nullptr);
}

void Renderer::fillRect(const Rect& area, const Color3B& color, uint8_t opacity) {
    flush();
    SDL_SetRenderDrawBlendMode(_sdl, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(_sdl, color.r, color.g, color.b, opacity);
    const SDL_FRect rect{area.origin.x, _designHeight - area.origin.y - area.size.height, area.size.width,
                         area.size.height};
    SDL_RenderFillRectF(_sdl, &rect);
}

void Renderer::flush() {
    if (!_vertices.empty() && _batchTexture)
        SDL_RenderGeometry(_sdl, _batchTexture, _vertices.data(), static_cast<int>(_vertices.size()),
                           _indices.data(), static_cast<int>(_indices.size()));
    _vertices.clear();
    _indices.clear();
    _batchTexture = nullptr;
}

} // namespace cocos2d
