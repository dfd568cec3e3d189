#pragma once
// Where each control of the game is drawn, in design units, worked out by hand from the layout:
// a menu at m, scaled s about the screen centre c, shows its item at m + c + s (item - c).
// Players in tools and tests tap here, not where the engine says a button is, so that a
// misplaced button or a wrong hit test shows.
#include "engine/base/Types.h"

#include <sstream>
#include <string>

namespace Spot {

using cocos2d::Vec2;

// The ring, clockwise from the top left.
constexpr Vec2 kRing[6] = {{758.4f, 772.2f}, {1200, 772.2f},   {1392, 534.6f},
                           {1200, 307.8f},   {758.4f, 307.8f}, {585.6f, 534.6f}};
constexpr Vec2 kBack{384, 108};
// The result panel.
constexpr Vec2 kRetry{672, 324}, kGoShop{1248, 324};
// The shop.
constexpr Vec2 kTimeIcon{418.56f, 812.16f}, kTimePlate{422.4f, 496.8f};
constexpr Vec2 kLifeIcon{1040.64f, 812.16f}, kLifePlate{1036.8f, 496.8f};
constexpr Vec2 kStart{1584, 135}, kTitle{96, 108};
// The options: their button on the title and on the pause panel, and the panel's items.
constexpr Vec2 kTitleOptions{1720, 330}, kPauseOptions{1180, 230};
constexpr Vec2 kMusicDown{430, 730}, kMusicUp{810, 730}, kEffectsDown{430, 510}, kEffectsUp{810, 510};
constexpr Vec2 kLanguage{1300, 800}, kStartOver{1300, 520}, kCredits{1300, 380}, kOptionsBack{960, 150};
constexpr Vec2 kCancel{740, 420}, kErase{1180, 420}, kCreditsBack{960, 75};

// The harness command `verb X Y` ("tap", "down", "up") at a spot.
inline std::string at(const char* verb, Vec2 spot) {
    std::ostringstream out;
    out << verb << ' ' << spot.x << ' ' << spot.y;
    return out.str();
}
inline std::string tap(Vec2 spot) {
    return at("tap", spot);
}

} // namespace Spot
