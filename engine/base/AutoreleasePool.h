#pragma once
#include <vector>

namespace cocos2d {

class Ref;

// Holds one reference to each autoreleased object until the end of the frame.
class AutoreleasePool {
  public:
    static AutoreleasePool* getInstance();
    void addObject(Ref* object);
    // Releases everything added so far; objects released here may add new ones.
    void clear();
    bool contains(const Ref* object) const;

  private:
    std::vector<Ref*> _objects;
};

} // namespace cocos2d
