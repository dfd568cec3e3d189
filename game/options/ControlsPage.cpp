#include "game/options/ControlsPage.h"

#include "engine/scene/ColorRect.h"

#include "game/common/Controls.h"
#include "game/common/GameTexts.h"
#include "game/common/Language.h"
#include "game/common/PanelParts.h"
#include "game/common/PauseTree.h"
#include "game/common/PlateWords.h"
#include "game/common/PlayerBindings.h"
#include "game/options/ControlsRow.h"

#include <new>

USING_NS_CC;

namespace {
// Two columns of rows under the headings, the note and the page's buttons at the foot.
constexpr int kRowsPerColumn = 16;
constexpr float kColumnX[2] = {480, 1440};
constexpr float kFirstRowY = 900, kRowPitch = 50;
constexpr float kHeadingY = 1035, kColumnsY = 955, kNoteY = 98, kFootY = 42;
constexpr const char* kBar = "GameScene/black2.png";

Label* addWords(Node* page, float size, const Vec2& at) {
    auto* label = Label::createWithTTF("", kGameFont, size);
    label->setPosition(at);
    page->addChild(label, 2);
    return label;
}

// A bar of the page's own with its words over it, bound to a menu control of its own.
MenuItemImage* addBar(Node* page, const Vec2& at, const Size& size, const ccMenuCallback& callback,
                      const char* control) {
    auto* item = MenuItemImage::create(kBar, kBar, callback);
    const Size picture = item->getContentSize();
    item->setScaleX(size.width / picture.width);
    item->setScaleY(size.height / picture.height);
    item->setOpacity(0);
    InputMap::getInstance()->attach(control, item);
    auto* bar = ColorRect::create(size, Color3B(70, 56, 130), 200);
    bar->setPosition(at);
    page->addChild(bar, 1);
    auto* menu = Menu::create(item);
    menu->setPosition(at);
    page->addChild(menu, 1);
    return item;
}
} // namespace

ControlsPage* ControlsPage::create(std::function<void()> onClose) {
    auto* page = new (std::nothrow) ControlsPage();
    if (page && page->initWithClose(std::move(onClose))) {
        page->autorelease();
        return page;
    }
    delete page;
    return nullptr;
}

ControlsPage::~ControlsPage() = default;

bool ControlsPage::initWithClose(std::function<void()> close) {
    if (!Layer::init()) return false;
    onClose = std::move(close);
    PanelParts::fill(this, "GameScene/black2.png", 225);
    heading = addWords(this, 56, Vec2(kScreenCentre.x, kHeadingY));
    const auto& listed = PlayerBindings::listed();
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const std::string control = listed[i].control;
        auto* row = ControlsRow::create(control, [this, control](Ref*) { pick(control); });
        const auto column = static_cast<int>(i) / kRowsPerColumn, line = static_cast<int>(i) % kRowsPerColumn;
        row->setPosition(kColumnX[column], kFirstRowY - kRowPitch * static_cast<float>(line));
        addChild(row, 1);
        rows.push_back(row);
    }
    for (float x : kColumnX) {
        columnHeadings.push_back(addWords(this, 30, Vec2(x + 150, kColumnsY)));
        columnHeadings.push_back(addWords(this, 30, Vec2(x + 380, kColumnsY)));
    }
    note = addWords(this, 32, Vec2(kScreenCentre.x, kNoteY));
    note->setColor(Color3B(255, 226, 64));
    addBar(this, Vec2(420, kFootY), Size(460, 56), CC_CALLBACK_1(ControlsPage::restoreDefaults, this),
           kDefaultsControl);
    defaultsWords = addWords(this, 34, Vec2(420, kFootY));
    addBar(this, Vec2(1070, kFootY), Size(760, 56), CC_CALLBACK_1(ControlsPage::toggleNintendo, this),
           kNintendoControl);
    nintendoWords = addWords(this, 34, Vec2(1070, kFootY));
    auto* backItem = PanelParts::addButton(this, "GameScene/backButton1.png", "GameScene/backButton2.png",
                                           Vec2(1700, kFootY), CC_CALLBACK_1(ControlsPage::back, this),
                                           Controls::kPanelBack, &PlateWords::kBack);
    backItem->setScale(0.5f);

    // While open, nothing under the page takes a touch; one beside every row stops a wait.
    auto* listener = EventListenerTouchOneByOne::create();
    listener->setSwallowTouches(true);
    listener->onTouchBegan = [this](Touch*, Event*) { return !closed; };
    listener->onTouchEnded = [this](Touch*, Event*) {
        if (!waiting.empty()) InputMap::getInstance()->stopCapture();
    };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);
    scheduleUpdate();
    refresh();
    return true;
}

void ControlsPage::onEnter() {
    Layer::onEnter();
    // Everything else beside the page stands still, and its buttons take no key.
    if (getParent())
        for (Node* other : getParent()->getChildren())
            if (other != this) PauseTree::hold(other, held);
    InputMap* map = InputMap::getInstance();
    menuBefore = map->menu();
    std::vector<std::string> menu;
    for (auto* row : rows)
        menu.push_back(ControlsRow::menuControl(row->control));
    menu.insert(menu.end(), {kDefaultsControl, kNintendoControl, Controls::kPanelBack});
    menu.insert(menu.end(), menuBefore.begin(), menuBefore.end());
    map->setMenu(menu);
    map->restartHighlight();
}

void ControlsPage::onExit() {
    if (!waiting.empty()) InputMap::getInstance()->stopCapture();
    if (!closed) {
        InputMap::getInstance()->setMenu(menuBefore);
        PauseTree::release(held);
    }
    Layer::onExit();
}

void ControlsPage::update(float) {
    const InputMap* map = InputMap::getInstance();
    if (language != Language::generation() || padFamily != map->padFamily()) refresh();
}

void ControlsPage::refresh() {
    language = Language::generation();
    const InputMap* map = InputMap::getInstance();
    padFamily = map->padFamily();
    for (auto* row : rows)
        row->show(row->control == waiting);
    PanelParts::setFittedText(heading, GameTexts::tr(GameTexts::kControlsHeading), 900);
    for (std::size_t i = 0; i < columnHeadings.size(); ++i)
        PanelParts::setFittedText(columnHeadings[i],
                                  GameTexts::tr(i % 2 ? GameTexts::kController : GameTexts::kKeyboard), 180);
    PanelParts::setFittedText(defaultsWords, GameTexts::tr(GameTexts::kDefaults), 430);
    PanelParts::setFittedText(nintendoWords,
                              GameTexts::tr(map->nintendoByLabel() ? GameTexts::kConfirmWithLabel
                                                                   : GameTexts::kConfirmWithPosition),
                              730);
    if (!waiting.empty()) PanelParts::setFittedText(note, GameTexts::tr(GameTexts::kEscapeCancels), 1800);
}

void ControlsPage::pick(const std::string& control) {
    if (closed) return;
    InputMap* map = InputMap::getInstance();
    if (!waiting.empty()) map->stopCapture();
    PanelParts::playClick();
    waiting = control;
    map->capture([this](InputMap::Device device, const std::string& name) { taken(device, name); },
                 [this] {
                     waiting.clear();
                     note->setString("");
                     refresh();
                 });
    refresh();
}

void ControlsPage::taken(InputMap::Device device, const std::string& name) {
    const std::string control = waiting;
    waiting.clear();
    const InputMap::Rebound result = PlayerBindings::rebind(control, device, name);
    std::string says = PlayerBindings::refusalNote(result, device);
    if (says.empty() && result.refusal == InputMap::Refusal::None && !result.other.empty()) {
        says = GameTexts::tr(GameTexts::kSwapped);
        const auto at = says.find("%s");
        if (at != std::string::npos) says.replace(at, 2, PlayerBindings::nameOf(result.other));
    }
    PanelParts::setFittedText(note, says, 1800);
    refresh();
}

void ControlsPage::restoreDefaults(Ref*) {
    if (closed) return;
    PanelParts::playClick();
    PlayerBindings::restoreDefaults();
    PanelParts::setFittedText(note, "", 1800);
    refresh();
}

void ControlsPage::toggleNintendo(Ref*) {
    if (closed) return;
    PanelParts::playClick();
    PlayerBindings::setNintendoByLabel(!InputMap::getInstance()->nintendoByLabel());
    refresh();
}

void ControlsPage::back(Ref*) {
    if (closed) return;
    PanelParts::playClick();
    InputMap* map = InputMap::getInstance();
    if (!waiting.empty()) map->stopCapture();
    closed = true;
    setVisible(false);
    map->setMenu(menuBefore);
    PauseTree::release(held);
    map->restartHighlight();
    if (onClose) onClose();
    // Not from inside the button's own press.
    scheduleOnce(CC_SCHEDULE_SELECTOR(ControlsPage::dismiss), 0);
}

void ControlsPage::dismiss(float) {
    removeFromParent();
}
