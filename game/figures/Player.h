#pragma once
#include "game/common/GameConstants.h"

// The plant: walks in at the start of a round, jumps on a cleared stage, wilts at the end.
class Player : public cocos2d::Sprite {
  public:
    CREATE_FUNC(Player)
    bool init() override;

    void enter();
    void jump(float delta);
    void scheduleKnockOut();
    void knockOut(float delta);
    void recover(float delta);

    cocos2d::Animation* animation = nullptr;
    cocos2d::Animate* animate = nullptr;
    cocos2d::RepeatForever* repeatAction = nullptr;
    cocos2d::MoveTo* jumpUp = nullptr;
    cocos2d::MoveTo* jumpDown = nullptr;
    cocos2d::Sequence* jumpSequence = nullptr;
};
