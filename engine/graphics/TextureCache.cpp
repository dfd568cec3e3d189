#include "engine/graphics/TextureCache.h"

#include "engine/base/FileUtils.h"
#include "engine/base/Log.h"
#include "engine/base/Types.h"
#include "engine/graphics/DecodeQueue.h"
#include "engine/graphics/Texture2D.h"
#include "engine/platform/Threads.h"

#include <algorithm>
#include <thread>

namespace cocos2d {

// One core is left to the main thread, which opens the renderer while the first pictures decode.
TextureCache::TextureCache()
    : _decoder(std::make_unique<DecodeQueue>(
          Threads::available() ? std::clamp(std::thread::hardware_concurrency(), 2u, 5u) - 1 : 0)) {}

TextureCache::~TextureCache() = default;

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
    Texture2D* texture = nullptr;
    int width = 0, height = 0;
    if (Picture::readSize(path, width, height) && Picture::drawable(width, height)) {
        // The size is all a node needs now; the pixels decode meanwhile.
        texture = Texture2D::createWithPendingPicture(
            _decoder->decode(path, static_cast<long>(width) * height),
            Size(static_cast<float>(width), static_cast<float>(height)), file, path);
        _decoding.push_back(texture);
    } else {
        Picture picture = Picture::decodeFile(path);
        if (!picture.valid()) {
            warn("cannot load picture \"%s\": %s", file.c_str(), picture.error().c_str());
            _failed.insert(file);
            return nullptr;
        }
        texture = Texture2D::createWithPicture(std::move(picture), file, path);
    }
    texture->retain();
    _textures.emplace(file, texture);
    return texture;
}

void TextureCache::finishDecoding() {
    for (Texture2D* texture : _decoding)
        texture->settle();
    _decoding.clear();
}

void TextureCache::removeAllTextures() {
    for (auto& [name, texture] : _textures)
        texture->release();
    _textures.clear();
    _decoding.clear();
    _failed.clear();
}

} // namespace cocos2d
