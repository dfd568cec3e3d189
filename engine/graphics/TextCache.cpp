#include "engine/graphics/TextCache.h"

#include "engine/base/FileUtils.h"
#include "engine/base/Log.h"
#include "engine/graphics/Texture2D.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <algorithm>
#include <cstdio>
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

TTF_Font* TextCache::font(const std::string& fontFile, int fontSize, int outline) {
    const std::string key = fontFile + '#' + std::to_string(fontSize) + '#' + std::to_string(outline);
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
    // An outlined font draws only the outline's shape, wider by it on every side.
    if (outline > 0) TTF_SetFontOutline(font, outline);
    _fonts.emplace(key, font);
    return font;
}

Texture2D* TextCache::cached(const std::string& key) {
    auto it = _index.find(key);
    if (it == _index.end()) return nullptr;
    _lru.splice(_lru.begin(), _lru, it->second);
    return it->second->texture;
}

Texture2D* TextCache::render(const std::string& fontFile, int fontSize, const std::string& text) {
    if (text.empty() || fontSize <= 0) return nullptr;
    std::string key = fontFile;
    key += '#';
    key += std::to_string(fontSize);
    key += '#';
    key += text;
    if (Texture2D* hit = cached(key)) return hit;
    TTF_Font* f = font(fontFile, fontSize);
    if (!f) return nullptr;
    // White text, tinted by the label's colour when drawn.
    return keep(key, TTF_RenderUTF8_Blended(f, text.c_str(), SDL_Color{255, 255, 255, 255}), text);
}

Texture2D* TextCache::render(const std::string& fontFile, int fontSize, const std::string& text,
                             const TextLook& look) {
    if (text.empty() || fontSize <= 0) return nullptr;
    char style[64];
    std::snprintf(style, sizeof style, "#%d.%d.%d/%d.%d.%d/%d/%d/%d#", look.face.r, look.face.g, look.face.b,
                  look.ink.r, look.ink.g, look.ink.b, look.outline, look.shadow, look.bold);
    const std::string key = fontFile + '#' + std::to_string(fontSize) + style + text;
    if (Texture2D* hit = cached(key)) return hit;
    TTF_Font* f = font(fontFile, fontSize);
    TTF_Font* outlined = look.outline > 0 ? font(fontFile, fontSize, look.outline) : nullptr;
    if (!f || (look.outline > 0 && !outlined)) return nullptr;
    SDL_Surface* face =
        TTF_RenderUTF8_Blended(f, text.c_str(), SDL_Color{look.face.r, look.face.g, look.face.b, 255});
    SDL_Surface* ink = outlined ? TTF_RenderUTF8_Blended(outlined, text.c_str(),
                                                         SDL_Color{look.ink.r, look.ink.g, look.ink.b, 255})
                                : nullptr;
    const int pad = std::max(look.outline, look.bold);
    SDL_Surface* canvas =
        face && (ink || !outlined)
            ? SDL_CreateRGBSurfaceWithFormat(0, face->w + 2 * pad, face->h + 2 * pad + look.shadow, 32,
                                             SDL_PIXELFORMAT_ARGB8888)
            : nullptr;
    if (canvas) {
        SDL_FillRect(canvas, nullptr, 0);
        // The first layer is copied, so the canvas's own transparent black never darkens it.
        bool first = true;
        const auto lay = [&](SDL_Surface* layer, int x, int y) {
            SDL_SetSurfaceBlendMode(layer, first ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
            SDL_Rect at{x, y, layer->w, layer->h};
            SDL_BlitSurface(layer, nullptr, canvas, &at);
            first = false;
        };
        if (ink && look.shadow > 0) lay(ink, pad - look.outline, pad - look.outline + look.shadow);
        if (ink) lay(ink, pad - look.outline, pad - look.outline);
        for (int dx = -look.bold; dx <= look.bold; ++dx)
            lay(face, pad + dx, pad);
    }
    if (face) SDL_FreeSurface(face);
    if (ink) SDL_FreeSurface(ink);
    return keep(key, canvas, text);
}

Texture2D* TextCache::keep(const std::string& key, SDL_Surface* rendered, const std::string& text) {
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
