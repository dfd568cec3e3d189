#include "KeyboardControls.h"

#include "ButtonManager.h"
#include "EventScene.h"
#include "GameButton.h"
#include "GameLayer.h"
#include "GameScene.h"
#include "RetryButton.h"
#include "StartButton.h"
#include "TitleButton.h"
#include "TitleScene.h"
#include "UpgradeButton.h"
#include "UpgradeLayer.h"
#include "UpgradeLifeNode.h"
#include "UpgradeNode.h"
#include "UpgradeScene.h"

#include <SDL_scancode.h>
#include <memory>

USING_NS_CC;

namespace {

// Touch ids for keys start here, far from the mouse (0) and any finger.
constexpr int kKeyTouchBase = 1 << 20;

// The button picture a tap on this control would press: the topmost shown menu item in it.
MenuItemImage* topItem(Node* holder) {
    if (!holder) return nullptr;
    MenuItemImage* found = nullptr;
    auto walk = [&](auto&& self, Node* node) -> void {
        if (!node->isVisible()) return;
        if (auto* item = dynamic_cast<MenuItemImage*>(node)) found = item;
        for (Node* child : node->getChildren())
            self(self, child);
    };
    walk(walk, holder);
    return found && found->isShown() ? found : nullptr;
}

bool centreOf(MenuItemImage* item, Vec2& where) {
    if (!item) return false;
    const Size s = item->getContentSize();
    where = item->convertToWorldSpace(Vec2(s.width / 2, s.height / 2));
    return true;
}

// The back button is the button manager's own menu, not one of the ring's.
MenuItemImage* backItem(ButtonManager* manager) {
    if (!manager) return nullptr;
    for (Node* child : manager->getChildren())
        if (dynamic_cast<Menu*>(child)) return topItem(child);
    return nullptr;
}

int ringIndex(int scancode) {
    switch (scancode) {
    case SDL_SCANCODE_W:
    case SDL_SCANCODE_KP_7:
        return 0;
    case SDL_SCANCODE_E:
    case SDL_SCANCODE_KP_9:
        return 1;
    case SDL_SCANCODE_D:
    case SDL_SCANCODE_KP_6:
        return 2;
    case SDL_SCANCODE_X:
    case SDL_SCANCODE_KP_3:
        return 3;
    case SDL_SCANCODE_Z:
    case SDL_SCANCODE_KP_1:
        return 4;
    case SDL_SCANCODE_A:
    case SDL_SCANCODE_KP_4:
        return 5;
    default:
        return -1;
    }
}

bool isEnter(int scancode) {
    return scancode == SDL_SCANCODE_RETURN || scancode == SDL_SCANCODE_KP_ENTER;
}

} // namespace

void KeyboardControls::install() {
    auto controls = std::make_shared<KeyboardControls>();
    Director::getInstance()->setKeyHandler(
        [controls](int scancode, bool pressed) { controls->onKey(scancode, pressed); });
}

bool KeyboardControls::controlFor(int scancode, Vec2& where) const {
    Scene* scene = Director::getInstance()->getRunningScene();
    if (dynamic_cast<TitleScene*>(scene) || dynamic_cast<EventScene*>(scene)) {
        // These screens take a tap anywhere.
        if (scancode != SDL_SCANCODE_SPACE && !isEnter(scancode)) return false;
        where = kScreenCentre;
        return true;
    }
    if (auto* game = dynamic_cast<GameScene*>(scene)) {
        GameLayer* layer = game->gameLayer;
        if (!layer) return false;
        if (const int i = ringIndex(scancode); i >= 0)
            return layer->buttonManager && centreOf(topItem(layer->buttonManager->buttons[i]), where);
        if (scancode == SDL_SCANCODE_BACKSPACE) return centreOf(backItem(layer->buttonManager), where);
        if (scancode == SDL_SCANCODE_R) return centreOf(topItem(layer->retryButton), where);
        if (scancode == SDL_SCANCODE_S) return centreOf(topItem(layer->upgradeButton), where);
        return false;
    }
    if (auto* shop = dynamic_cast<UpgradeScene*>(scene)) {
        UpgradeLayer* layer = shop->upgradeLayer;
        if (!layer) return false;
        if (scancode == SDL_SCANCODE_T)
            return layer->upgradeNode && centreOf(topItem(layer->upgradeNode->iconMenu), where);
        if (scancode == SDL_SCANCODE_L)
            return layer->upgradeLifeNode && centreOf(topItem(layer->upgradeLifeNode->iconMenu), where);
        if (isEnter(scancode)) return centreOf(topItem(layer->startButton), where);
        if (scancode == SDL_SCANCODE_ESCAPE) return centreOf(topItem(layer->titleButton), where);
    }
    return false;
}

void KeyboardControls::onKey(int scancode, bool pressed) {
    Director* director = Director::getInstance();
    const int touchId = kKeyTouchBase + scancode;
    if (!pressed) {
        auto it = _held.find(scancode);
        if (it == _held.end()) return;
        const Vec2 where = it->second;
        _held.erase(it);
        director->touchEnded(touchId, where);
        return;
    }
    if (_held.count(scancode)) return;
    Vec2 where;
    if (!controlFor(scancode, where)) return;
    _held[scancode] = where;
    director->touchBegan(touchId, where);
}
