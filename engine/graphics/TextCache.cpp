#include "engine/graphics/TextCache.h"

#include "engine/base/FileUtils.h"
#include "engine/base/Log.h"
#include "engine/graphics/Texture2D.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fstream>
#include <iterator>

namespace cocos2d {

namespace {
// Enough for every label of a scene several times over; old pictures go first.
constexpr std::size_t kMaxEntries = 256;
// A line of the result panel is a picture of a megabyte or two, and every new score makes new
// ones: without a limit on bytes a long session would pile up hundreds of megabytes.
constexpr std::size_t kMaxBytes = 16u << 20;
} // namespace

TextCache* TextCache::getInstance() {
    static TextCache* cache = new TextCache();
    return cache;
}

TTF_Font* TextCache::font(const std::string& fontFile, int fontSize) {
    const std::string key = fontFile + '#' + std::to_string(fontSize);
    if (auto it = _fonts.find(key); it != _fonts.end()) return it->second;
    if (_failedFonts.count(fontFile)) return nullptr;
    if (!TTF_WasInit() && TTF_Init() != 0) {
        warn("cannot start the font renderer: %s", TTF_GetError());
        _failedFonts.insert(fontFile);
        return nullptr;
    }
    auto data = _fontData.find(fontFile);
    if (data == _fontData.end()) {
        ++_fileReads;
        FileUtils::getInstance()->countRead();
        // In one read: the font is megabytes, too many to take a character at a time.
        std::ifstream in(FileUtils::getInstance()->fullPathForFilename(fontFile),
                         std::ios::binary | std::ios::ate);
        std::vector<char> bytes(in ? static_cast<std::size_t>(in.tellg()) : 0);
        if (!in.seekg(0) || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) bytes.clear();
        data = _fontData.emplace(fontFile, std::move(bytes)).first;
    }
    SDL_RWops* rw = data->second.empty()
                        ? nullptr
                        : SDL_RWFromConstMem(data->second.data(), static_cast<int>(data->second.size()));
    TTF_Font* font = rw ? TTF_OpenFontRW(rw, 1, fontSize) : nullptr;
    if (!font) {
        warn("cannot load font \"%s\": %s", fontFile.c_str(), rw ? TTF_GetError() : "no such file");
        _failedFonts.insert(fontFile);
        return nullptr;
    }
    _fonts.emplace(key, font);
    return font;
}

Texture2D* TextCache::render(const std::string& fontFile, int fontSize, const std::string& text) {
    if (text.empty() || fontSize <= 0) return nullptr;
    std::string key = fontFile;
    key += '#';
    key += std::to_string(fontSize);
    key += '#';
    key += text;
    if (auto it = _index.find(key); it != _index.end()) {
        _lru.splice(_lru.begin(), _lru, it->second);
        return it->second->texture;
    }
    TTF_Font* f = font(fontFile, fontSize);
    if (!f) return nullptr;
    // White text, tinted by the label's colour when drawn.
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(f, text.c_str(), SDL_Color{255, 255, 255, 255});
    if (!rendered) return nullptr;
    SDL_Surface* surface = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (!surface) return nullptr;
    ++_renders;
    const std::size_t bytes = static_cast<std::size_t>(surface->pitch) * static_cast<std::size_t>(surface->h);
    Texture2D* texture = Texture2D::createWithSurface(surface, text);
    texture->retain();
    _lru.push_front({key, texture, bytes});
    _index[key] = _lru.begin();
    _bytes += bytes;
    // The picture just made always stays, however large.
    while (_lru.size() > 1 && (_lru.size() > kMaxEntries || _bytes > kMaxBytes)) {
        _index.erase(_lru.back().key);
        _bytes -= _lru.back().bytes;
        _lru.back().texture->release();
        _lru.pop_back();
    }
    return texture;
}

bool TextCache::holds(const Texture2D* texture) const {
    for (const Entry& e : _lru)
        if (e.texture == texture) return true;
    return false;
}

void TextCache::clear() {
    for (auto& e : _lru)
        e.texture->release();
    _lru.clear();
    _index.clear();
    _bytes = 0;
    for (auto& [key, f] : _fonts)
        TTF_CloseFont(f);
    _fonts.clear();
    _fontData.clear();
    _failedFonts.clear();
    if (TTF_WasInit()) TTF_Quit();
}

} // namespace cocos2d
