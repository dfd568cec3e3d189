#include "Texture2D.h"

#include <SDL.h>

namespace cocos2d {

Texture2D* Texture2D::createWithSurface(SDL_Surface* surface, const std::string& name) {
    if (!surface) return nullptr;
    auto* texture = new Texture2D();
    texture->_surface = surface;
    texture->_size = Size(static_cast<float>(surface->w), static_cast<float>(surface->h));
    texture->_name = name;
    texture->autorelease();
    return texture;
}

Texture2D::~Texture2D() {
    if (_texture) SDL_DestroyTexture(_texture);
    if (_surface) SDL_FreeSurface(_surface);
}

SDL_Texture* Texture2D::textureFor(SDL_Renderer* renderer) {
    if (_texture && _owner == renderer) return _texture;
    if (_texture) {
        // A different renderer (a new window); the pixels went to the old one.
        SDL_DestroyTexture(_texture);
        _texture = nullptr;
    }
    if (!_surface) return nullptr;
    _texture = SDL_CreateTextureFromSurface(renderer, _surface);
    if (!_texture) return nullptr;
    SDL_SetTextureBlendMode(_texture, SDL_BLENDMODE_BLEND);
    _owner = renderer;
    return _texture;
}

} // namespace cocos2d
