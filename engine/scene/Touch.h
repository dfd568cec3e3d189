#pragma once
#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace cocos2d {

// One finger (or the left mouse button), in design units.
class Touch : public Ref {
  public:
    Touch(int id, const Vec2& location)
        : _id(id), _start(location), _previous(location), _location(location) {}
    int getID() const { return _id; }
    Vec2 getLocation() const { return _location; }
    Vec2 getPreviousLocation() const { return _previous; }
    Vec2 getStartLocation() const { return _start; }
    void moveTo(const Vec2& location) {
        _previous = _location;
        _location = location;
    }

  private:
    int _id;
    Vec2 _start, _previous, _location;
};

class Event {
  public:
    enum class Type { TOUCH };
    explicit Event(Type type) : _type(type) {}
    Type getType() const { return _type; }

  private:
    Type _type;
};

} // namespace cocos2d
