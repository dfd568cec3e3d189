#include "game/shop/UpgradeEventNode.h"

#include "game/figures/PlantBom.h"
#include "game/figures/Player.h"

USING_NS_CC;

namespace {
Vec2 planetStart() {
    return Vec2(kDesignSize.width * 1.5f, kDesignSize.height * 0.2f);
}
Vec2 belowScreen() {
    return Vec2(kDesignSize.width / 2, kDesignSize.height * -0.3f);
}
Vec2 standing() {
    return Vec2(kDesignSize.width / 2, kDesignSize.height * 0.2f);
}
} // namespace

bool UpgradeEventNode::init() {
    if (!Node::init()) return false;
    // Read now, so the show turns its planet green without a pause.
    Director::getInstance()->getTextureCache()->addImage("GameScene/greenPlanet.png");
    scrollSpeed = 10;
    hitPlanetMoving = false;
    greenPlanetMoving = false;
    hitPending = true;
    hopPending = true;

    hitPlanet = Sprite::create("GameScene/deadPlanet.png");
    hitPlanet->setScale(0.3f);
    hitPlanet->setPosition(planetStart());
    addChild(hitPlanet, 2);

    greenPlanet = Sprite::create("GameScene/deadPlanet.png");
    greenPlanet->setScale(0.3f);
    greenPlanet->setPosition(planetStart());
    addChild(greenPlanet, 2);

    player = Player::create();
    player->setScale(0.15f);
    player->setPosition(belowScreen());
    addChild(player, 3);

    plantBom = PlantBom::create();
    plantBom->setScale(0.3f);
    plantBom->setPosition(static_cast<float>(kDesignSize.width * 0.52), kDesignSize.height * 0.2f);
    addChild(plantBom, 1);

    riseIn(0);
    scheduleUpdate();
    return true;
}

void UpgradeEventNode::update(float) {
    if (hitPlanetMoving) hitPlanet->setPositionX(hitPlanet->getPositionX() - scrollSpeed);
    if (greenPlanetMoving) greenPlanet->setPositionX(greenPlanet->getPositionX() - scrollSpeed);

    if (greenPlanet->getPositionX() < kDesignSize.width * 0.7f && hopPending) {
        hop(0);
        hopPending = false;
    }
    if (greenPlanet->getPositionX() < kDesignSize.width / 2)
        greenPlanet->initWithFile("GameScene/greenPlanet.png");

    if (hitPlanet->getPositionX() < kDesignSize.width * 0.55f) {
        // Knocked out, the plant is carried along with the planet.
        player->setPositionX(player->getPositionX() - scrollSpeed);
        if (hitPending) {
            player->knockOut(0);
            hitPending = false;
        }
    }

    if (greenPlanet->getPositionX() < kDesignSize.width * -0.5f) {
        greenPlanetMoving = false;
        greenPlanet->setPosition(planetStart());
        greenPlanet->initWithFile("GameScene/deadPlanet.png");
        hitPlanetMoving = true;
        hopPending = true;
    }
    if (hitPlanet->getPositionX() < kDesignSize.width * -0.5f) {
        hitPlanetMoving = false;
        hitPlanet->setPosition(planetStart());
        player->setPosition(belowScreen());
        hitPending = true;
        player->recover(0);
        scheduleOnce(CC_SCHEDULE_SELECTOR(UpgradeEventNode::riseIn), 0.5f);
    }
}

void UpgradeEventNode::riseIn(float) {
    player->runAction(MoveTo::create(2.0f, standing()));
    scheduleOnce(CC_SCHEDULE_SELECTOR(UpgradeEventNode::startGreenPlanet), 1.0f);
}

void UpgradeEventNode::startGreenPlanet(float) {
    greenPlanetMoving = true;
}

void UpgradeEventNode::hop(float) {
    player->runAction(
        Sequence::create(MoveTo::create(0.5f, Vec2(kDesignSize.width / 2, kDesignSize.height * 0.3f)),
                         DelayTime::create(1.3f), MoveTo::create(0.5f, standing())));
}
