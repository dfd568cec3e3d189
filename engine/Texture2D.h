#pragma once
// A decoded picture. Pixels stay in memory until the first draw uploads them to the renderer.
// A picture read from a file then lets its pixels go, since the renderer holds a copy, and
// reads the file again only if a different renderer asks for it.
#include "Ref.h"
#include "Types.h"

#include <string>

struct SDL_Surface;
struct SDL_Texture;
struct SDL_Renderer;

namespace cocos2d {

class Texture2D : public Ref {
  public:
    // Takes ownership of the surface. sourceFile: the full path it was decoded from, or "" for
    // pixels made in memory, which are kept.
    static Texture2D* createWithSurface(SDL_Surface* surface, const std::string& name,
                                        const std::string& sourceFile = "");
    // Reads and decodes a picture into the engine's pixel format; null when that fails.
    static SDL_Surface* decodeFile(const std::string& path);
    ~Texture2D() override;

    const Size& getContentSize() const { return _size; }
    const std::string& getName() const { return _name; }
    // The renderer's copy, made on first use.
    SDL_Texture* textureFor(SDL_Renderer* renderer);
    // Whether the decoded pixels are in memory now.
    bool hasPixels() const { return _surface != nullptr; }

  private:
    Texture2D() = default;
    SDL_Surface* _surface = nullptr;
    SDL_Texture* _texture = nullptr;
    SDL_Renderer* _owner = nullptr;
    Size _size;
    std::string _name;
    std::string _sourceFile;
};

} // namespace cocos2d
