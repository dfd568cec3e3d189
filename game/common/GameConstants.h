#pragma once
// The layout constants every scene places its nodes with, in design units.
#include "engine/app/cocos2d.h"

// Each source file gets its own copy, built while the program starts.
static const cocos2d::Size kDesignSize(1920.0f, 1080.0f);
static const cocos2d::Vec2 kScreenCentre(kDesignSize.width / 2, kDesignSize.height / 2);

// The lettering of every text and number the game writes.
constexpr const char* kGameFont = "fonts/PixelMplus10-Regular.ttf";
