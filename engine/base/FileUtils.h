#pragma once
// Where the game's files are: the resource root (the folder the program's NAME_ASSETS names,
// else the "assets" folder beside the executable, else the installed data folder the program
// names) and a count of the files read.
#include <cstddef>
#include <string>

namespace cocos2d {

class FileUtils {
  public:
    static FileUtils* getInstance();
    void setResourceRoot(const std::string& root) { _root = root; }
    const std::string& getResourceRoot() const { return _root; }
    // The root an installed program keeps its data in, taken unless the environment names one or
    // an "assets" folder sits beside the executable (a build tree).
    void setInstalledRoot(const std::string& root);
    // The folder the running executable is in; empty when it cannot be known.
    static std::string executableFolder();
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
