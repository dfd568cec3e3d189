#include "TextureCache.h"

#include "FileUtils.h"
#include "Log.h"
#include "Texture2D.h"

#include <SDL.h>
#include <SDL_image.h>

namespace cocos2d {

TextureCache* TextureCache::getInstance() {
    static TextureCache* cache = new TextureCache();
    return cache;
}

Texture2D* TextureCache::addImage(const std::string& file) {
    if (file.empty()) return nullptr;
    if (auto it = _textures.find(file); it != _textures.end()) return it->second;
    if (_failed.count(file)) return nullptr;

    const std::string path = FileUtils::getInstance()->fullPathForFilename(file);
    ++_fileReads;
    FileUtils::getInstance()->countRead();
    SDL_Surface* surface = Texture2D::decodeFile(path);
    if (!surface) {
        warn("cannot load picture \"%s\": %s", file.c_str(), IMG_GetError());
        _failed.insert(file);
        return nullptr;
    }
    Texture2D* texture = Texture2D::createWithSurface(surface, file, path);
    texture->retain();
    _textures.emplace(file, texture);
    return texture;
}

void TextureCache::removeAllTextures() {
    for (auto& [name, texture] : _textures)
        texture->release();
    _textures.clear();
    _failed.clear();
}

} // namespace cocos2d
