#include "game/options/OptionsPanel.h"

#include "engine/app/SoundSettings.h"
#include "engine/base/PlayerTexts.h"
#include "game/common/Controls.h"
#include "game/common/GameTexts.h"
#include "game/common/Language.h"
#include "game/common/PanelParts.h"
#include "game/options/ControlsPage.h"
#include "game/options/CreditsPage.h"
#include "game/options/OptionButton.h"

#include <new>
#include <string>

USING_NS_CC;

namespace {

// Two columns on the plate: the sound on the left, the rest on the right.
constexpr float kLeft = 620, kRight = 1300;
constexpr float kStepScale = 0.78f;

std::string percent(int value) {
    return std::to_string(value) + " %";
}

} // namespace

OptionsPanel* OptionsPanel::create(Host host) {
    auto* panel = new (std::nothrow) OptionsPanel();
    if (panel && panel->initWithHost(std::move(host))) {
        panel->autorelease();
        return panel;
    }
    delete panel;
    return nullptr;
}

OptionsPanel::~OptionsPanel() = default;

bool OptionsPanel::initWithHost(Host given) {
    if (!Layer::init()) return false;
    host = std::move(given);
    // The pictures are read when the panel first opens.
    panel = PanelParts::create();
    addChild(panel, 1);
    ask = PanelParts::create();
    addChild(ask, 2);
    // While open, a touch anywhere stays on the panel and reaches nothing underneath.
    auto* listener = EventListenerTouchOneByOne::create();
    listener->setSwallowTouches(true);
    listener->onTouchBegan = [this](Touch*, Event*) { return isOpen; };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);
    scheduleUpdate();
    return true;
}

MenuItemImage* OptionsPanel::addOpener(Node* parent, const Vec2& at, float scale) {
    opener = addItem(parent, OptionButton::kPlain, GameTexts::kOptions, at, scale,
                     CC_CALLBACK_1(OptionsPanel::open, this), Controls::kOptions);
    return opener;
}

Label* OptionsPanel::addWords(Node* parent, const char* msgid, float size, const Vec2& at, float width) {
    auto* label = PanelParts::addText(parent, GameTexts::tr(msgid), size, at);
    OptionButton::fit(label, width);
    labels.push_back({label, msgid, width});
    return label;
}

MenuItemImage* OptionsPanel::addItem(Node* parent, const OptionButton::Plate& plate, const char* msgid,
                                     const Vec2& at, float scale, const ccMenuCallback& callback,
                                     const char* control) {
    auto* item = OptionButton::add(parent, plate, GameTexts::tr(msgid), at, scale, callback, control);
    buttons.emplace_back(item, msgid);
    return item;
}

std::string OptionsPanel::languageWords() const {
    std::string name = Language::current();
    for (const auto& choice : Language::all())
        if (choice.code == Language::current()) name = choice.name;
    return GameTexts::tr(GameTexts::kLanguage) + ": " + name;
}

void OptionsPanel::fillPanel() {
    if (!panel->getChildren().empty()) return;
    PanelParts::fill(panel, "GameScene/optionsPlate.png", 170);
    addWords(panel, GameTexts::kOptions, 80, Vec2(960, 950), 1300);

    const struct {
        const char* msgid;
        float y;
        ccMenuCallback down, up;
        const char *downControl, *upControl;
        Label** value;
    } volumes[] = {
        {GameTexts::kMusic, 830, CC_CALLBACK_1(OptionsPanel::musicDown, this),
         CC_CALLBACK_1(OptionsPanel::musicUp, this), Controls::kMusicDown, Controls::kMusicUp, &musicLabel},
        {GameTexts::kEffects, 610, CC_CALLBACK_1(OptionsPanel::effectsDown, this),
         CC_CALLBACK_1(OptionsPanel::effectsUp, this), Controls::kEffectsDown, Controls::kEffectsUp,
         &effectsLabel},
    };
    for (const auto& v : volumes) {
        addWords(panel, v.msgid, 52, Vec2(kLeft, v.y), 560);
        *v.value = PanelParts::addText(panel, "", 48, Vec2(kLeft, v.y - 100));
        PanelParts::addButton(panel, "GameScene/volumeDownButton1.png", "GameScene/volumeDownButton2.png",
                              Vec2(kLeft - 190, v.y - 100), v.down, v.downControl)
            ->setScale(kStepScale);
        PanelParts::addButton(panel, "GameScene/volumeUpButton1.png", "GameScene/volumeUpButton2.png",
                              Vec2(kLeft + 190, v.y - 100), v.up, v.upControl)
            ->setScale(kStepScale);
    }
    mutedLabel = PanelParts::addText(panel, PlayerTexts::get().soundOff, 36, Vec2(kLeft, 420));
    // Only where the game has a window of its own to fill the screen with.
    if (Application::canFullscreen())
        addItem(panel, OptionButton::kPlain, GameTexts::kFullscreenItem, Vec2(kLeft, 310), 0.9f,
                CC_CALLBACK_1(OptionsPanel::toggleFullscreen, this), Controls::kOptionsFullscreen);

    languageButton = OptionButton::add(panel, OptionButton::kPlain, languageWords(), Vec2(kRight, 800), 0.9f,
                                       CC_CALLBACK_1(OptionsPanel::nextLanguage, this), Controls::kLanguage);
    controlsButton = addItem(panel, OptionButton::kPlain, GameTexts::kControls, Vec2(kRight, 660), 0.9f,
                             CC_CALLBACK_1(OptionsPanel::openControls, this), Controls::kControlsPage);
    addItem(panel, OptionButton::kRed, GameTexts::kStartOver, Vec2(kRight, 520), 0.9f,
            CC_CALLBACK_1(OptionsPanel::askStartOver, this), Controls::kStartOver);
    addItem(panel, OptionButton::kPlain, GameTexts::kCredits, Vec2(kRight, 380), 0.9f,
            CC_CALLBACK_1(OptionsPanel::openCredits, this), Controls::kCredits);
    addItem(panel, OptionButton::kPlain, GameTexts::kBackItem, Vec2(960, 150), 0.8f,
            CC_CALLBACK_1(OptionsPanel::close, this), Controls::kOptionsBack);
    wordsGeneration = Language::generation();
}

void OptionsPanel::relabel() {
    wordsGeneration = Language::generation();
    for (const auto& words : labels) {
        words.label->setString(GameTexts::tr(words.msgid));
        OptionButton::fit(words.label, words.width);
    }
    for (const auto& [item, msgid] : buttons)
        OptionButton::relabel(item, GameTexts::tr(msgid));
    if (languageButton) OptionButton::relabel(languageButton, languageWords());
    if (mutedLabel) mutedLabel->setString(PlayerTexts::get().soundOff);
}

void OptionsPanel::update(float) {
    if (spentPage) {
        spentPage->removeFromParent();
        spentPage = nullptr;
    }
    if (opener) opener->getParent()->setVisible(!isOpen && (!host.canOpen || host.canOpen()));
    if (!isOpen || !musicLabel) return;
    if (wordsGeneration != Language::generation()) relabel();
    musicLabel->setString(percent(SoundSettings::musicPercent()));
    effectsLabel->setString(percent(SoundSettings::effectsPercent()));
    mutedLabel->setVisible(SoundSettings::isMuted());
}

void OptionsPanel::open(Ref*) {
    if (isOpen || (host.canOpen && !host.canOpen())) return;
    isOpen = true;
    fillPanel();
    if (host.hold) host.hold(true);
    PanelParts::playClick();
    PanelParts::show(panel, true);
    update(0);
}

void OptionsPanel::close(Ref*) {
    if (!isOpen || isAsking || page) return;
    isOpen = false;
    PanelParts::playClick();
    PanelParts::show(panel, false);
    if (host.hold) host.hold(false);
    update(0);
}

void OptionsPanel::musicDown(Ref*) {
    SoundSettings::setMusicPercent(SoundSettings::musicPercent() - SoundSettings::kStep);
}

void OptionsPanel::musicUp(Ref*) {
    SoundSettings::setMusicPercent(SoundSettings::musicPercent() + SoundSettings::kStep);
}

void OptionsPanel::effectsDown(Ref*) {
    SoundSettings::setEffectsPercent(SoundSettings::effectsPercent() - SoundSettings::kStep);
    PanelParts::playClick(); // heard at the level just set
}

void OptionsPanel::effectsUp(Ref*) {
    SoundSettings::setEffectsPercent(SoundSettings::effectsPercent() + SoundSettings::kStep);
    PanelParts::playClick();
}

void OptionsPanel::toggleFullscreen(Ref*) {
    InputMap::getInstance()->runAction(InputMap::kFullscreen);
}

void OptionsPanel::nextLanguage(Ref*) {
    const auto& all = Language::all();
    if (all.empty()) return;
    std::size_t next = 0;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].code == Language::current()) next = (i + 1) % all.size();
    PanelParts::playClick();
    Language::set(all[next].code);
    relabel();
}

void OptionsPanel::openControls(Ref*) {
    if (!isOpen || isAsking || page) return;
    // The controls page clicks, gives the highlight back and takes itself away on closing.
    auto* controls = ControlsPage::create([this] {
        page = nullptr;
        PanelParts::show(panel, true);
    });
    if (!controls) return;
    PanelParts::playClick();
    showPage(controls);
}

void OptionsPanel::openCredits(Ref*) {
    if (!isOpen || isAsking || page) return;
    PanelParts::playClick();
    showPage(CreditsPage::create([this] { backToPanel(); }));
}

void OptionsPanel::showPage(Node* shown) {
    page = shown;
    addChild(page, 3);
    PanelParts::show(panel, false);
    InputMap::getInstance()->restartHighlight();
}

void OptionsPanel::backToPanel() {
    if (!page) return;
    PanelParts::playClick();
    // Not now: the page's own button may be what called. The next update takes it away.
    spentPage = page;
    page = nullptr;
    spentPage->setVisible(false);
    PanelParts::show(panel, true);
}
