#pragma once
// Short notes over everything ("Paused", "Sound off"): drawn above every scene and through
// fades, never part of a scene, never in the way of a touch. Notes keep real time, so one
// shown for a moment goes away while the game is paused too.
#include "engine/base/Types.h"

#include <string>
#include <vector>

namespace cocos2d {

class Label;
class Renderer;

class Overlay {
  public:
    enum class Place { TopLeft, TopRight, BottomLeft, BottomRight, Centre };
    struct Note {
        std::string key;
        std::string text;
        Place place;
        // Seconds left; below zero, until hidden.
        float secondsLeft;
        Label* label;
        // Where it was drawn last, in design units.
        Rect drawnAt;
    };

    static Overlay* getInstance();
    // The font notes are written in (a file under the resource root) and its size in design units.
    void setFont(const std::string& fontFile, float size);
    // Shows a note under `key`, replacing the one of that key.
    void show(const std::string& key, const std::string& text, Place place, float seconds = -1);
    void hide(const std::string& key);
    void clear();
    const std::vector<Note>& notes() const { return _notes; }
    // The text of the note under `key`, or an empty string.
    std::string textOf(const std::string& key) const;
    // Counts the changes of what the notes show, so a stopped game knows when to draw again.
    unsigned long long revision() const { return _revision; }

    void advance(float seconds);
    // Draws the notes; a corner's notes move to another corner, or the middle of the top or
    // bottom edge, when they would cover any of `keepClear` (the buttons and numbers under them).
    void draw(Renderer& renderer, const Size& designSize, const std::vector<Rect>& keepClear = {});

  private:
    Overlay() = default;
    // A note without a font to draw it is said on standard error instead, once per text.
    void sayIfUnshown(const Note& note);
    std::vector<Note> _notes;
    std::string _fontFile;
    float _fontSize = 36;
    unsigned long long _revision = 0;
    // Texts already said on standard error for want of a font to draw them.
    std::vector<std::string> _unshown;
};

} // namespace cocos2d
