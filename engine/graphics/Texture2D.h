#pragma once
// A picture for drawing. Its content size is the whole canvas, but only the part of the canvas
// that is not transparent is kept and uploaded, and a picture with no transparency at all is
// drawn without blending. Pixels stay in memory until the first draw uploads them to the
// renderer; a picture read from a file then lets its pixels go, since the renderer holds a
// copy, and reads the file again only if a different renderer asks for it. A file's picture may
// still be decoding on a worker thread: anything that needs its pixels waits for it.
#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "engine/graphics/Picture.h"

#include <future>
#include <string>

struct SDL_Texture;
struct SDL_Renderer;

namespace cocos2d {

class Texture2D : public Ref {
  public:
    // Pixels made in memory (rendered text), which are kept. Null without pixels.
    static Texture2D* createWithSurface(SDL_Surface* surface, const std::string& name);
    // A picture decoded already, or being decoded, from the file at sourceFile (its full path).
    static Texture2D* createWithPicture(Picture picture, const std::string& name,
                                        const std::string& sourceFile);
    static Texture2D* createWithPendingPicture(std::future<Picture> pending, const Size& canvas,
                                               const std::string& name, const std::string& sourceFile);
    ~Texture2D() override;

    const Size& getContentSize() const { return _size; }
    const std::string& getName() const { return _name; }
    // The part of the canvas that is drawn, in pixels from its top left (empty when the picture
    // is wholly transparent, or could not be decoded).
    const SDL_Rect& visibleRect();
    // Fully opaque: drawn without blending when the node is opaque too.
    bool isOpaque();
    // The renderer's copy of the visible part, made on first use.
    SDL_Texture* textureFor(SDL_Renderer* renderer);
    // How the renderer's copy was set to sample when it was made (the renderer may sample a
    // picture drawn pixel for pixel more cheaply, and then sets this back).
    SDL_ScaleMode getFiltering() const { return _filtering; }
    // The whole canvas as a new surface: the kept pixels in place, transparent elsewhere. Null
    // when the pixels are not in memory (tools compare drawings against it).
    SDL_Surface* canvasCopy();
    // Whether the decoded pixels are in memory now (or soon, once decoded).
    bool hasPixels() const { return _pending.valid() || _picture.pixels() != nullptr; }

    // Waits for a decode under way; says once if it failed.
    void settle();

  private:
    Texture2D() = default;

    Picture _picture;
    std::future<Picture> _pending;
    SDL_Texture* _texture = nullptr;
    SDL_Renderer* _owner = nullptr;
    SDL_ScaleMode _filtering = SDL_ScaleModeNearest;
    Size _size;
    std::string _name;
    std::string _sourceFile;
};

} // namespace cocos2d
