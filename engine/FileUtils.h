#pragma once
// Where the game's files are: the resource root (the "assets" folder beside the executable,
// unless set otherwise) and a count of the files read.
#include <cstddef>
#include <string>

namespace cocos2d {

class FileUtils {
  public:
    static FileUtils* getInstance();
    void setResourceRoot(const std::string& root) { _root = root; }
    const std::string& getResourceRoot() const { return _root; }
    std::string fullPathForFilename(const std::string& file) const;
    bool isFileExist(const std::string& file) const;
    void countRead() { ++_reads; }
    std::size_t fileReads() const { return _reads; }

  private:
    FileUtils();
    std::string _root;
    std::size_t _reads = 0;
};

} // namespace cocos2d
