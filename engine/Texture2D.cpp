#include "Texture2D.h"

#include "FileUtils.h"
#include "Log.h"

#include <SDL.h>
#include <SDL_image.h>

namespace cocos2d {

Texture2D* Texture2D::createWithSurface(SDL_Surface* surface, const std::string& name,
                                        const std::string& sourceFile) {
    if (!surface) return nullptr;
    auto* texture = new Texture2D();
    texture->_surface = surface;
    texture->_size = Size(static_cast<float>(surface->w), static_cast<float>(surface->h));
    texture->_name = name;
    texture->_sourceFile = sourceFile;
    texture->autorelease();
    return texture;
}

SDL_Surface* Texture2D::decodeFile(const std::string& path) {
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (!loaded) return nullptr;
    SDL_Surface* surface = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    return surface;
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
        _owner = nullptr;
    }
    if (!_surface && !_sourceFile.empty()) {
        FileUtils::getInstance()->countRead();
        _surface = decodeFile(_sourceFile);
        if (!_surface) warn("cannot read picture \"%s\" again: %s", _name.c_str(), IMG_GetError());
    }
    if (!_surface) return nullptr;
    _texture = SDL_CreateTextureFromSurface(renderer, _surface);
    if (!_texture) return nullptr;
    SDL_SetTextureBlendMode(_texture, SDL_BLENDMODE_BLEND);
    _owner = renderer;
    if (!_sourceFile.empty()) {
        // The renderer has its own copy; keeping ours too would double the memory of every picture.
        SDL_FreeSurface(_surface);
        _surface = nullptr;
    }
    return _texture;
}

} // namespace cocos2d
