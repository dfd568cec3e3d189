#include "game/common/PlateWords.h"

#include "game/common/GameTexts.h"

#include <cmath>

USING_NS_CC;

namespace {
const Color3B kWhite(255, 255, 255);
const Color3B kInk(28, 20, 54);
const Color3B kYellow(255, 210, 63);
const Color3B kPaleYellow(255, 240, 160);

// A text button of w x h (its face rises by a lip 9 % of its height, and drops by it when
// pressed), lettered at `size` in white with an ink outline as thick as a ninth of the size.
PlateWord onButton(const char* msgid, float w, float h, float size) {
    const float rim = 8;
    const float lip = std::round(h * 0.09f);
    const float face = h - 2 * rim - lip;
    return {.msgid = msgid,
            .centre = Vec2(w / 2, h - (rim + face / 2 + 2)),
            .box = Size(w - 2 * rim - face * 0.6f, face * 0.85f),
            .size = size,
            .face = kWhite,
            .outline = size * 0.11f,
            .shadow = 0,
            .pressedDrop = lip};
}
} // namespace

namespace PlateWords {

const PlateWord kRetry = onButton(GameTexts::kRetry, 400, 200, 84);
const PlateWord kShop = onButton(GameTexts::kShop, 400, 200, 88);
const PlateWord kTitle = [] {
    PlateWord word = onButton(GameTexts::kTitle, 300, 160, 64);
    word.context = GameTexts::kButtonContext;
    return word;
}();
const PlateWord kStart = onButton(GameTexts::kStart, 500, 250, 110);
const PlateWord kResume = onButton(GameTexts::kResume, 420, 160, 72);
const PlateWord kMute = onButton(GameTexts::kMute, 300, 160, 64);
const PlateWord kFullscreen = onButton(GameTexts::kFullscreen, 460, 160, 56);
const PlateWord kQuit = onButton(GameTexts::kQuit, 360, 160, 72);
const PlateWord kBack = onButton(GameTexts::kBack, 300, 160, 72);
const PlateWord kScore = {.msgid = GameTexts::kScore,
                          .centre = Vec2(500, 410),
                          .box = Size(350, 120),
                          .size = 96,
                          .face = kInk,
                          .outline = 2,
                          .shadow = 0};
const PlateWord kNewRecord = {.msgid = GameTexts::kNewRecord,
                              .centre = Vec2(400, 127),
                              .box = Size(580, 112),
                              .size = 92,
                              .face = kPaleYellow,
                              .outline = 10,
                              .shadow = 0};
const PlateWord kTapToStart = {.msgid = GameTexts::kTapToStart,
                               .centre = Vec2(450, 60),
                               .box = Size(870, 110),
                               .size = 80,
                               .face = kPaleYellow,
                               .outline = 9,
                               .shadow = 7};
const PlateWord kPlusSeconds = {.msgid = GameTexts::kPlusSeconds,
                                .plural = GameTexts::kPlusSecondsPlural,
                                .centre = Vec2(200, 66),
                                .box = Size(396, 140),
                                .size = 112,
                                .face = kYellow,
                                .outline = 12,
                                .shadow = 6};
const PlateWord kSoldOut = {.msgid = GameTexts::kSoldOut,
                            .centre = Vec2(200, 200),
                            .box = Size(360, 88),
                            .size = 72,
                            .face = kWhite,
                            .outline = 8,
                            .shadow = 0,
                            .rotation = -18};

const std::vector<const PlateWord*>& all() {
    static const std::vector<const PlateWord*> kAll = {
        &kRetry, &kShop, &kTitle, &kStart,     &kResume,     &kMute,        &kFullscreen,
        &kQuit,  &kBack, &kScore, &kNewRecord, &kTapToStart, &kPlusSeconds, &kSoldOut};
    return kAll;
}

} // namespace PlateWords
