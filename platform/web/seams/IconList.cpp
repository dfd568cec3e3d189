// The page is no window of its own: there is no icon to hand over.
#include "engine/platform/IconList.h"

namespace cocos2d::IconList {

void give(SDL_Window*, const std::vector<IconPicture>&) {}

} // namespace cocos2d::IconList
