#include "engine/graphics/Texture2D.h"

#include "engine/base/FileUtils.h"
#include "engine/base/Log.h"

#include <SDL.h>

namespace cocos2d {

Texture2D* Texture2D::createWithSurface(SDL_Surface* surface, const std::string& name) {
    if (!surface) return nullptr;
    return createWithPicture(Picture(surface), name, "");
}

Texture2D* Texture2D::createWithPicture(Picture picture, const std::string& name,
                                        const std::string& sourceFile) {
    if (!picture.valid()) return nullptr;
    auto* texture = new Texture2D();
    texture->_size =
        Size(static_cast<float>(picture.canvasWidth()), static_cast<float>(picture.canvasHeight()));
    texture->_picture = std::move(picture);
    texture->_name = name;
    texture->_sourceFile = sourceFile;
    texture->autorelease();
    return texture;
}

Texture2D* Texture2D::createWithPendingPicture(std::future<Picture> pending, const Size& canvas,
                                               const std::string& name, const std::string& sourceFile) {
    auto* texture = new Texture2D();
    texture->_size = canvas;
    texture->_pending = std::move(pending);
    texture->_name = name;
    texture->_sourceFile = sourceFile;
    texture->autorelease();
    return texture;
}

Texture2D::~Texture2D() {
    // A decode under way must not outlive the engine it uses.
    if (_pending.valid()) _pending.wait();
    if (_texture) SDL_DestroyTexture(_texture);
}

void Texture2D::settle() {
    if (!_pending.valid()) return;
    _picture = _pending.get();
    if (!_picture.valid()) warn("cannot load picture \"%s\": %s", _name.c_str(), _picture.error().c_str());
}

const SDL_Rect& Texture2D::visibleRect() {
    settle();
    return _picture.visible();
}

bool Texture2D::isOpaque() {
    settle();
    return _picture.opaque();
}

SDL_Surface* Texture2D::canvasCopy() {
    settle();
    if (!_picture.valid() || (_picture.visible().w > 0 && !_picture.pixels())) return nullptr;
    SDL_Surface* canvas = SDL_CreateRGBSurfaceWithFormat(0, _picture.canvasWidth(), _picture.canvasHeight(),
                                                         32, SDL_PIXELFORMAT_ARGB8888);
    if (!canvas || !_picture.pixels()) return canvas;
    SDL_Rect at = _picture.visible();
    SDL_SetSurfaceBlendMode(_picture.pixels(), SDL_BLENDMODE_NONE);
    SDL_BlitSurface(_picture.pixels(), nullptr, canvas, &at);
    return canvas;
}

SDL_Texture* Texture2D::textureFor(SDL_Renderer* renderer) {
    if (_texture && _owner == renderer) return _texture;
    if (_texture) {
        // A different renderer (a new window); the pixels went to the old one.
        SDL_DestroyTexture(_texture);
        _texture = nullptr;
        _owner = nullptr;
    }
    settle();
    if (!_picture.pixels() && _picture.visible().w > 0 && !_sourceFile.empty()) {
        FileUtils::getInstance()->countRead();
        Picture again = Picture::decodeFile(_sourceFile);
        if (!again.valid()) {
            warn("cannot read picture \"%s\" again: %s", _name.c_str(), again.error().c_str());
            return nullptr;
        }
        _picture = std::move(again);
    }
    if (!_picture.pixels()) return nullptr;
    _texture = SDL_CreateTextureFromSurface(renderer, _picture.pixels());
    if (!_texture) return nullptr;
    SDL_SetTextureBlendMode(_texture, SDL_BLENDMODE_BLEND);
    SDL_GetTextureScaleMode(_texture, &_filtering);
    _owner = renderer;
    // The renderer has its own copy; keeping ours too would double the memory of every picture.
    if (!_sourceFile.empty()) _picture.releasePixels();
    return _texture;
}

} // namespace cocos2d
