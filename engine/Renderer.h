#pragma once
// Collects textured quads and hands them to SDL in batches, one call per run of quads that
// share a texture. Coordinates are design units with the origin at the bottom left.
#include "Types.h"

#include <SDL.h>
#include <vector>

namespace cocos2d {

class Texture2D;

// One quad as handed to the renderer (benchmarks replay these with plain SDL calls).
struct CapturedQuad {
    Texture2D* texture;
    Vec2 corners[4];
    Color3B color;
    uint8_t opacity;
};

class Renderer {
  public:
    explicit Renderer(SDL_Renderer* sdl, float designHeight) : _sdl(sdl), _designHeight(designHeight) {}
    // corners: bottom-left, bottom-right, top-right, top-left.
    void drawQuad(Texture2D* texture, const Vec2 corners[4], const Color3B& color, uint8_t opacity);
    // A picture over the rectangle `area` of a node's own space.
    void drawTexture(Texture2D* texture, const AffineTransform& transform, const Rect& area,
                     const Color3B& color, uint8_t opacity);
    void fillScreen(const Color3B& color, uint8_t opacity);
    // A plain rectangle in design units.
    void fillRect(const Rect& area, const Color3B& color, uint8_t opacity);
    void flush();
    std::size_t quadsDrawn() const { return _quads; }
    // While set, every quad drawn is also appended here; null turns capturing off.
    static void setCapture(std::vector<CapturedQuad>* quads) { s_capture = quads; }

  private:
    SDL_Renderer* _sdl;
    float _designHeight;
    SDL_Texture* _batchTexture = nullptr;
    std::vector<SDL_Vertex> _vertices;
    std::vector<int> _indices;
    std::size_t _quads = 0;
    static inline std::vector<CapturedQuad>* s_capture = nullptr;
};

} // namespace cocos2d
