#pragma once
#include "game/common/GameConstants.h"

#include <functional>
#include <string>

// One word's place on a wordless plate (a button, a badge, a sign), in the plate picture's own
// units from its bottom left: the word is drawn there in the player's language, in the game's
// font, with the ink outline the pictures' lettering has.
struct PlateWord {
    const char* msgid;
    // Where one English word has several meanings, which this is (gettext's msgctxt).
    const char* context = nullptr;
    // A word that follows a number: its plural, for the languages whose form changes with it.
    const char* plural = nullptr;
    cocos2d::Vec2 centre;
    // The room the word may take; a longer word shrinks into it.
    cocos2d::Size box;
    float size;
    cocos2d::Color3B face;
    float outline;
    float shadow;
    // How far the plate's face drops in its pressed picture.
    float pressedDrop = 0;
    float rotation = 0;
};

// A word over a plate. It draws its words again as soon as the player's language changes,
// shrinking them into the plate's room (never growing them).
class PlateLabel : public cocos2d::Node {
  public:
    // Below this a word turns hard to read: the smallest plate, the shop's TITLE drawn at half
    // size, would letter it under 20 screen pixels at full HD, where the pixel font, drawn on a
    // 16-pixel grid, starts to lose whole strokes.
    static constexpr float kMinScale = 0.6f;
    // Past it a word only narrows, down to this share of its width at that size: the font's
    // Cyrillic and kana stand on full-width cells with wide sides, so they close up before they
    // touch, where Latin letters, on half-width cells, never need to.
    static constexpr float kMinSqueeze = 0.6f;

    static PlateLabel* create(const PlateWord& word);
    // Words from elsewhere than the string table (asked again at each change of language).
    static PlateLabel* create(const PlateWord& word, std::function<std::string()> words);
    // On a button: the word drops with the face while the button is pressed.
    static PlateLabel* onButton(cocos2d::MenuItemImage* item, const PlateWord& word);
    // The share of its width `text` keeps to fit `word`'s room, 1 at most; it overflows below
    // kMinScale * kMinSqueeze.
    static float fitFor(const PlateWord& word, const std::string& text);

    // "%d" in the word becomes `n` ("+3 sec").
    void setNumber(int n);
    const char* msgid() const { return _word.msgid; }
    const PlateWord& word() const { return _word; }
    const std::string& text() const { return _text; }
    float fit() const { return _fit; }

    void update(float delta) override;
    void visit(cocos2d::Renderer& renderer, const cocos2d::AffineTransform& parentTransform,
               uint8_t parentOpacity, const cocos2d::Color3B& parentColor) override;

  private:
    bool initWith(const PlateWord& word, std::function<std::string()> words);
    void refresh();

    PlateWord _word{};
    std::function<std::string()> _words;
    int _number = 0;
    bool _numbered = false;
    int _generation = -1;
    std::string _text;
    float _fit = 1;
    float _tall = 1;
    cocos2d::Label* _label = nullptr;
    cocos2d::MenuItemImage* _button = nullptr;
};
