#include "engine/graphics/Picture.h"

#include <SDL_image.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace cocos2d {

namespace {

constexpr int kAlign = 4;

const Uint32* rowOf(const SDL_Surface* s, int y) {
    return reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
}

bool rowHasInk(const SDL_Surface* s, int y, Uint32 alpha) {
    const Uint32* row = rowOf(s, y);
    Uint32 any = 0;
    for (int x = 0; x < s->w; ++x)
        any |= row[x];
    return (any & alpha) != 0;
}

// The smallest rectangle holding every pixel whose alpha is not zero; empty when there is none.
// The surface has four bytes a pixel and an alpha channel.
SDL_Rect inkBounds(const SDL_Surface* s) {
    const Uint32 alpha = s->format->Amask;
    int top = 0, bottom = s->h - 1;
    while (top < s->h && !rowHasInk(s, top, alpha))
        ++top;
    if (top == s->h) return {0, 0, 0, 0};
    while (!rowHasInk(s, bottom, alpha))
        --bottom;
    int left = s->w, right = -1;
    for (int y = top; y <= bottom; ++y) {
        const Uint32* row = rowOf(s, y);
        for (int x = 0; x < left; ++x)
            if (row[x] & alpha) left = x;
        for (int x = s->w - 1; x > right; --x)
            if (row[x] & alpha) right = x;
    }
    return {left, top, right - left + 1, bottom - top + 1};
}

bool allOpaque(const SDL_Surface* s, const SDL_Rect& r) {
    const Uint32 alpha = s->format->Amask;
    for (int y = r.y; y < r.y + r.h; ++y) {
        const Uint32* row = rowOf(s, y);
        for (int x = r.x; x < r.x + r.w; ++x)
            if ((row[x] & alpha) != alpha) return false;
    }
    return true;
}

Uint32 bigEndian(const unsigned char* at, int bytes) {
    Uint32 value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | at[i];
    return value;
}

} // namespace

// A PNG starts with its signature and then its header chunk: length, "IHDR", width, height.
bool Picture::readPngSize(std::FILE* file, long& width, long& height) {
    static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    unsigned char head[24];
    std::rewind(file);
    if (std::fread(head, 1, sizeof head, file) != sizeof head ||
        !std::equal(kSignature, kSignature + 8, head) || !std::equal(head + 12, head + 16, "IHDR"))
        return false;
    width = bigEndian(head + 16, 4);
    height = bigEndian(head + 20, 4);
    return true;
}

// A JPEG is a run of marked segments; the frame header (one of the SOF markers) holds the size.
bool Picture::readJpegSize(std::FILE* file, long& width, long& height) {
    unsigned char mark[2];
    std::rewind(file);
    if (std::fread(mark, 1, 2, file) != 2 || mark[0] != 0xff || mark[1] != 0xd8) return false;
    while (true) {
        int c = std::fgetc(file);
        if (c != 0xff) return false;
        while (c == 0xff)
            c = std::fgetc(file);
        if (c == EOF || c == 0xd9 || c == 0xda) return false;
        if (c == 0x01 || (c >= 0xd0 && c <= 0xd7)) continue; // markers without a length
        unsigned char length[2];
        if (std::fread(length, 1, 2, file) != 2) return false;
        const long size = static_cast<long>(bigEndian(length, 2));
        const bool frame = c >= 0xc0 && c <= 0xcf && c != 0xc4 && c != 0xc8 && c != 0xcc;
        if (frame) {
            unsigned char body[5];
            if (size < 7 || std::fread(body, 1, 5, file) != 5) return false;
            height = bigEndian(body + 1, 2);
            width = bigEndian(body + 3, 2);
            return true;
        }
        if (size < 2 || std::fseek(file, size - 2, SEEK_CUR) != 0) return false;
    }
}

Picture::Picture(SDL_Surface* surface) {
    if (!surface) return;
    std::unique_ptr<SDL_Surface, FreeSurface> source(surface);
    _canvasWidth = surface->w;
    _canvasHeight = surface->h;
    const SDL_PixelFormat* format = surface->format;
    const bool opaqueFormat = format->Amask == 0 && !SDL_HasColorKey(surface);
    if (!opaqueFormat && (format->BytesPerPixel != 4 || format->Amask == 0)) {
        // Palettes with a transparent colour and the like: looked at once in our own format.
        source.reset(SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0));
        if (!source) {
            _error = SDL_GetError();
            _canvasWidth = _canvasHeight = 0;
            return;
        }
    }
    if (opaqueFormat) {
        _visible = {0, 0, _canvasWidth, _canvasHeight};
        _opaque = true;
    } else {
        const SDL_Rect ink = inkBounds(source.get());
        if (ink.w == 0) return;
        // At least one transparent pixel around the ink where the canvas has it, and edges on
        // every kAlign-th pixel: a picture halved or quartered then samples the very pixels it
        // would sample whole, even in a renderer that snaps corners to whole pixels.
        const int x0 = std::max((ink.x - 1) / kAlign * kAlign, 0),
                  y0 = std::max((ink.y - 1) / kAlign * kAlign, 0);
        const int x1 = std::min((ink.x + ink.w + kAlign) / kAlign * kAlign, _canvasWidth);
        const int y1 = std::min((ink.y + ink.h + kAlign) / kAlign * kAlign, _canvasHeight);
        _visible = {x0, y0, x1 - x0, y1 - y0};
        _opaque = allOpaque(source.get(), _visible);
    }
    const bool whole = _visible.w == _canvasWidth && _visible.h == _canvasHeight;
    if (whole && source->format->format == SDL_PIXELFORMAT_ARGB8888) {
        _pixels = std::move(source);
        return;
    }
    _pixels.reset(SDL_CreateRGBSurfaceWithFormat(0, _visible.w, _visible.h, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!_pixels) {
        _error = SDL_GetError();
        _canvasWidth = _canvasHeight = 0;
        return;
    }
    SDL_SetSurfaceBlendMode(source.get(), SDL_BLENDMODE_NONE);
    SDL_BlitSurface(source.get(), &_visible, _pixels.get(), nullptr);
}

Picture Picture::decodeFile(const std::string& path) {
    // A small file can hold a picture gigabytes wide once decoded: its header says so first.
    int width = 0, height = 0;
    if (readSize(path, width, height) && !drawable(width, height)) return refused(width, height);
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (!loaded) {
        Picture failed;
        failed._error = IMG_GetError();
        return failed;
    }
    if (!drawable(loaded->w, loaded->h)) {
        Picture failed = refused(loaded->w, loaded->h);
        SDL_FreeSurface(loaded);
        return failed;
    }
    return Picture(loaded);
}

bool Picture::drawable(long width, long height) {
    return width <= kLargestSide && height <= kLargestSide && width * height <= kMostPixels;
}

Picture Picture::refused(long width, long height) {
    Picture failed;
    failed._error = std::to_string(width) + " x " + std::to_string(height) +
                    " pixels, larger than any picture the game can draw (" + std::to_string(kLargestSide) +
                    " a side, " + std::to_string(kMostPixels / 1000000) + " million pixels)";
    return failed;
}

bool Picture::readSize(const std::string& path, int& width, int& height) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    long w = 0, h = 0;
    const bool read = readPngSize(file, w, h) || readJpegSize(file, w, h);
    std::fclose(file);
    if (!read || w <= 0 || h <= 0 || w > INT32_MAX || h > INT32_MAX) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

} // namespace cocos2d
