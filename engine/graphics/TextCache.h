#pragma once
// Fonts by file and size, and rendered text by font, size and string (least recently used
// pictures are dropped past a fixed count or a fixed total of pixel bytes).
#include "engine/base/Types.h"

#include <cstddef>
#include <list>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

typedef struct _TTF_Font TTF_Font;
struct SDL_Surface;

namespace cocos2d {

class Texture2D;

// Lettering drawn in its own colours, as a sign's: the face on an ink outline `outline` pixels
// wide, the ink again `shadow` pixels below, and the face thickened by `bold` pixels each side.
// Such text is drawn untinted.
struct TextLook {
    Color3B face;
    Color3B ink;
    int outline = 0;
    int shadow = 0;
    int bold = 0;
};

class TextCache {
  public:
    static TextCache* getInstance();
    // Null when the font cannot be loaded (logged once) or the text is empty.
    Texture2D* render(const std::string& fontFile, int fontSize, const std::string& text);
    Texture2D* render(const std::string& fontFile, int fontSize, const std::string& text,
                      const TextLook& look);
    void clear();
    std::size_t renders() const { return _renders; }
    // Rendered pictures held now, and their pixel bytes.
    std::size_t size() const { return _lru.size(); }
    bool holds(const Texture2D* texture) const;
    std::size_t bytes() const { return _bytes; }
    std::size_t fileReads() const { return _fileReads; }

  private:
    TTF_Font* font(const std::string& fontFile, int fontSize, int outline = 0);
    Texture2D* cached(const std::string& key);
    Texture2D* keep(const std::string& key, ::SDL_Surface* rendered, const std::string& text);
    struct Entry {
        std::string key;
        Texture2D* texture;
        std::size_t bytes;
    };
    std::list<Entry> _lru;
    std::unordered_map<std::string, std::list<Entry>::iterator> _index;
    std::unordered_map<std::string, TTF_Font*> _fonts;
    // Each font file is read once; every size opens from these bytes.
    std::unordered_map<std::string, std::vector<char>> _fontData;
    std::unordered_set<std::string> _failedFonts;
    std::size_t _bytes = 0;
    std::size_t _renders = 0;
    std::size_t _fileReads = 0;
};

} // namespace cocos2d
