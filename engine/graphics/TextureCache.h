#pragma once
// Pictures by file name: each file is read and decoded once, on worker threads where it can be.
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace cocos2d {

class DecodeQueue;
class Texture2D;

class TextureCache {
  public:
    static TextureCache* getInstance();
    // Null, with one log line per file, when the file is missing or unreadable.
    Texture2D* addImage(const std::string& file);
    void removeAllTextures();
    // Waits for every picture still decoding. Tools that never draw call it after each frame, so
    // that memory and log lines keep step with their virtual clock.
    void finishDecoding();
    std::size_t textureCount() const { return _textures.size(); }
    // Files read from disk so far (for statistics).
    std::size_t fileReads() const { return _fileReads; }

  private:
    TextureCache();
    ~TextureCache();
    // Behind a pointer: its pictures are SDL's, and the game sees none of SDL.
    std::unique_ptr<DecodeQueue> _decoder;
    std::unordered_map<std::string, Texture2D*> _textures;
    std::unordered_set<std::string> _failed;
    // Pictures handed to the decoder since finishDecoding last ran (held by _textures).
    std::vector<Texture2D*> _decoding;
    std::size_t _fileReads = 0;
};

} // namespace cocos2d
