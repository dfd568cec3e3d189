#pragma once
// Decoded pixels of one picture, cut down to the part of its canvas worth drawing: the rectangle
// that holds every pixel not wholly transparent, with a transparent border of at least a pixel
// kept around it so that a filtered edge looks as it does on the whole canvas. Pictures are decoded on worker
// threads as well as the main one; nothing here touches a renderer.
#include <cstdio>
#include <memory>
#include <string>

#include <SDL.h>

namespace cocos2d {

class Picture {
  public:
    Picture() = default;
    // Takes ownership of a surface in any pixel format.
    explicit Picture(SDL_Surface* surface);

    // No picture the game draws comes near these; a larger one would take gigabytes to decode.
    static constexpr long kLargestSide = 8192;
    static constexpr long kMostPixels = 32L * 1000 * 1000;

    // Reads and decodes a file; a picture without pixels, and why, when that fails (a picture
    // too large to draw is refused before it is decoded).
    static Picture decodeFile(const std::string& path);
    // The canvas size from the file's header alone (PNG and JPEG); false when it is not a
    // picture we can read that way (the file must then be decoded to know).
    static bool readSize(const std::string& path, int& width, int& height);
    static bool drawable(long width, long height);

    bool valid() const { return _canvasWidth > 0; }
    const std::string& error() const { return _error; }
    int canvasWidth() const { return _canvasWidth; }
    int canvasHeight() const { return _canvasHeight; }
    // Where the kept pixels lie on the canvas, in pixels from its top left; empty when the
    // picture is wholly transparent.
    const SDL_Rect& visible() const { return _visible; }
    // Every kept pixel is fully opaque, so the picture needs no blending.
    bool opaque() const { return _opaque; }
    // The kept pixels (ARGB8888, the visible rectangle's size); null when there are none.
    SDL_Surface* pixels() const { return _pixels.get(); }
    // Lets the pixels go and keeps the rest (once a renderer has its own copy).
    void releasePixels() { _pixels.reset(); }

  private:
    static Picture refused(long width, long height);
    static bool readPngSize(std::FILE* file, long& width, long& height);
    static bool readJpegSize(std::FILE* file, long& width, long& height);

    struct FreeSurface {
        void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
    };
    std::unique_ptr<SDL_Surface, FreeSurface> _pixels;
    int _canvasWidth = 0, _canvasHeight = 0;
    SDL_Rect _visible{0, 0, 0, 0};
    bool _opaque = false;
    std::string _error;
};

} // namespace cocos2d
