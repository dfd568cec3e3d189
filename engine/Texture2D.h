#pragma once
// A decoded picture. Pixels stay in memory until the first draw uploads them to the renderer.
#include "Ref.h"
#include "Types.h"

#include <string>

struct SDL_Surface;
struct SDL_Texture;
struct SDL_Renderer;

namespace cocos2d {

class Texture2D : public Ref {
public:
    // Takes ownership of the surface.
    static Texture2D* createWithSurface(SDL_Surface* surface, const std::string& name);
    ~Texture2D() override;

    const Size& getContentSize() const { return _size; }
    const std::string& getName() const { return _name; }
    // The renderer's copy, made on first use.
    SDL_Texture* textureFor(SDL_Renderer* renderer);

private:
    Texture2D() = default;
    SDL_Surface* _surface = nullptr;
    SDL_Texture* _texture = nullptr;
    SDL_Renderer* _owner = nullptr;
    Size _size;
    std::string _name;
};

} // namespace cocos2d
