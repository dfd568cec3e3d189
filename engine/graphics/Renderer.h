#pragma once
// Draws pictures and plain rectangles with SDL. Coordinates are design units with the origin at
// the bottom left. A frame costs what its visible pixels need: only the part of a picture that is
// not transparent is drawn, fully opaque pictures are drawn without blending, and nothing is
// drawn that lies wholly outside the view. Upright pictures go to SDL as copies; runs of small
// pictures that share a texture, and turned or skewed pictures, as one batch of triangles. A
// picture drawn pixel for pixel onto whole pixels is sampled without filtering, which gives the
// same pixels for less work.
#include "engine/base/Types.h"

#include <SDL.h>
#include <vector>

namespace cocos2d {

class Texture2D;

// One picture (or, without a texture, one plain rectangle) as handed to the renderer, and what
// went to SDL for it (tests and benchmarks replay these with plain SDL calls).
struct CapturedQuad {
    Texture2D* texture;
    // Where the whole canvas lies, in design units: bottom-left, bottom-right, top-right, top-left.
    Vec2 corners[4];
    Color3B color;
    uint8_t opacity;
    enum class Drawn { Skipped, Copied, Batched } drawn = Drawn::Skipped;
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
    SDL_ScaleMode sampling = SDL_ScaleModeNearest;
    // Copied (or filled): the destination in SDL's coordinates, and how it is flipped.
    SDL_FRect destination{};
    SDL_RendererFlip flip = SDL_FLIP_NONE;
    // Batched: the drawn part as SDL vertices (bottom-left, bottom-right, top-right, top-left).
    SDL_Vertex vertices[4]{};
};

class Renderer {
  public:
    // The view is the renderer's logical size (its output size when it has none); designHeight
    // turns the design's upward y into SDL's downward one.
    Renderer(SDL_Renderer* sdl, float designHeight);
    ~Renderer() { flush(); }
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // A picture over the rectangle `area` of a node's own space (the whole canvas maps onto it).
    void drawTexture(Texture2D* texture, const AffineTransform& transform, const Rect& area,
                     const Color3B& color, uint8_t opacity);
    void fillScreen(const Color3B& color, uint8_t opacity);
    // A plain rectangle in design units.
    void fillRect(const Rect& area, const Color3B& color, uint8_t opacity);
    // Hands everything waiting to SDL.
    void flush();
    // Pictures drawn so far (not those skipped).
    std::size_t quadsDrawn() const { return _quads; }
    // While set, every picture handed to the renderer is also appended here; null turns
    // capturing off.
    static void setCapture(std::vector<CapturedQuad>* quads) { s_capture = quads; }

    // Quads up to this many design units a side may share a batch of triangles (SDL's software
    // renderer maps large triangles wrongly, and copies cost the same for large ones anyway).
    static constexpr float kBatchedEdge = 512;

  private:
    struct Waiting {
        CapturedQuad quad;
        bool upright;
        bool small;
        bool pixelForPixel;
        // Where the quad was captured, to note what became of it.
        std::vector<CapturedQuad>* capture;
        std::size_t captured;
    };
    void copy(Waiting& w);
    void drawBatch(std::size_t first, std::size_t end);
    void record(Waiting& w, CapturedQuad::Drawn drawn);
    void sampleAs(SDL_ScaleMode mode);

    SDL_Renderer* _sdl;
    float _designHeight;
    Rect _view;
    // Design units are device pixels (no scaling between the two).
    bool _unscaled = false;
    // A run of pictures that share a texture and a blend mode, waiting to be drawn.
    SDL_Texture* _runTexture = nullptr;
    SDL_BlendMode _runBlend = SDL_BLENDMODE_BLEND;
    std::vector<Waiting> _run;
    std::vector<SDL_Vertex> _vertices;
    std::vector<int> _indices;
    std::size_t _quads = 0;
    static inline std::vector<CapturedQuad>* s_capture = nullptr;
};

} // namespace cocos2d
