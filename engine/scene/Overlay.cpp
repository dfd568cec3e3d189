#include "engine/scene/Overlay.h"

#include "engine/base/Log.h"
#include "engine/graphics/Renderer.h"
#include "engine/scene/InSight.h"
#include "engine/scene/Label.h"

#include <algorithm>

namespace cocos2d {

namespace {
// Distance from the screen's edge, and the dark plate's margin around the text.
constexpr float kEdge = 24;
constexpr float kMargin = 12;
constexpr uint8_t kPlateOpacity = 170;
constexpr int kPlaces = 5;

// Where a stack of notes may sit: the five places, then the middles of the top and bottom edges.
enum class Anchor { TopLeft, TopRight, BottomLeft, BottomRight, Centre, TopMiddle, BottomMiddle };

struct Stack {
    float width = 0, height = 0;
    std::vector<Overlay::Note*> notes;
};

Rect frame(Anchor anchor, const Stack& stack, const Size& design) {
    const float w = stack.width, h = stack.height;
    const float left = kEdge, right = design.width - kEdge - w, middle = (design.width - w) / 2;
    const float top = design.height - kEdge - h, bottom = kEdge;
    switch (anchor) {
    case Anchor::TopLeft:
        return {left, top, w, h};
    case Anchor::TopRight:
        return {right, top, w, h};
    case Anchor::BottomLeft:
        return {left, bottom, w, h};
    case Anchor::BottomRight:
        return {right, bottom, w, h};
    case Anchor::TopMiddle:
        return {middle, top, w, h};
    case Anchor::BottomMiddle:
        return {middle, bottom, w, h};
    case Anchor::Centre:
        break;
    }
    // The first note in the middle of the screen, later ones below it.
    const float firstHeight =
        stack.notes.empty() ? h : stack.notes.front()->label->getContentSize().height + 2 * kMargin;
    return {middle, (design.height + firstHeight) / 2 - h, w, h};
}

bool coversAny(const Rect& rect, const std::vector<Rect>& others) {
    return std::any_of(others.begin(), others.end(), [&rect](const Rect& o) { return overlaps(rect, o); });
}

// A crowded screen: the free place nearest to `wanted`, if there is one.
Rect nearestFree(const Rect& wanted, const Size& design, const std::vector<Rect>& taken) {
    constexpr float kStep = 24;
    Rect best = wanted;
    float bestDistance = -1;
    const float w = wanted.size.width, h = wanted.size.height;
    for (float y = kEdge; y + h <= design.height - kEdge; y += kStep)
        for (float x = kEdge; x + w <= design.width - kEdge; x += kStep) {
            const float distance =
                (x - wanted.origin.x) * (x - wanted.origin.x) + (y - wanted.origin.y) * (y - wanted.origin.y);
            if (bestDistance >= 0 && distance >= bestDistance) continue;
            const Rect spot(x, y, w, h);
            if (coversAny(spot, taken)) continue;
            best = spot;
            bestDistance = distance;
        }
    return best;
}
} // namespace

Overlay* Overlay::getInstance() {
    static Overlay* overlay = new Overlay();
    return overlay;
}

void Overlay::setFont(const std::string& fontFile, float size) {
    _fontFile = fontFile;
    _fontSize = size;
}

void Overlay::show(const std::string& key, const std::string& text, Place place, float seconds) {
    auto it = std::find_if(_notes.begin(), _notes.end(), [&](const Note& n) { return n.key == key; });
    if (it == _notes.end()) {
        Label* label = Label::createWithTTF(text, _fontFile, _fontSize);
        label->retain();
        _notes.push_back({key, text, place, seconds, label, Rect()});
        ++_revision;
        sayIfUnshown(_notes.back());
        return;
    }
    it->secondsLeft = seconds;
    if (it->text == text && it->place == place) return;
    ++_revision;
    it->text = text;
    it->place = place;
    it->label->setString(text);
    sayIfUnshown(*it);
}

void Overlay::sayIfUnshown(const Note& note) {
    if (note.text.empty() || note.label->getContentSize().width > 0) return;
    if (std::find(_unshown.begin(), _unshown.end(), note.text) != _unshown.end()) return;
    _unshown.push_back(note.text);
    warn("%s (a note the game cannot show without its font)", note.text.c_str());
}

void Overlay::hide(const std::string& key) {
    for (auto it = _notes.begin(); it != _notes.end(); ++it)
        if (it->key == key) {
            it->label->release();
            _notes.erase(it);
            ++_revision;
            return;
        }
}

void Overlay::clear() {
    for (auto& note : _notes)
        note.label->release();
    if (!_notes.empty()) ++_revision;
    _notes.clear();
}

std::string Overlay::textOf(const std::string& key) const {
    for (const auto& note : _notes)
        if (note.key == key) return note.text;
    return "";
}

void Overlay::advance(float seconds) {
    std::vector<std::string> gone;
    for (auto& note : _notes)
        if (note.secondsLeft >= 0 && (note.secondsLeft -= seconds) < 0) gone.push_back(note.key);
    for (const auto& key : gone)
        hide(key);
}

void Overlay::draw(Renderer& renderer, const Size& design, const std::vector<Rect>& keepClear) {
    // Notes in one place stack away from the edge, oldest nearest to it.
    Stack stacks[kPlaces];
    for (auto& note : _notes) {
        Stack& stack = stacks[static_cast<int>(note.place)];
        const Size text = note.label->getContentSize();
        stack.width = std::max(stack.width, text.width + 2 * kMargin);
        stack.height += (stack.notes.empty() ? 0 : kMargin) + text.height + 2 * kMargin;
        stack.notes.push_back(&note);
    }
    std::vector<Rect> taken = keepClear;
    for (int place = 0; place < kPlaces; ++place) {
        Stack& stack = stacks[place];
        if (stack.notes.empty()) continue;
        // "Paused" belongs in the middle, over whatever is there.
        Anchor anchor = static_cast<Anchor>(place);
        bool free = anchor == Anchor::Centre;
        if (!free)
            for (const Anchor other : {anchor, Anchor::TopRight, Anchor::BottomRight, Anchor::TopLeft,
                                       Anchor::BottomLeft, Anchor::TopMiddle, Anchor::BottomMiddle})
                if (!coversAny(frame(other, stack, design), taken)) {
                    anchor = other;
                    free = true;
                    break;
                }
        Rect whole = frame(anchor, stack, design);
        if (!free) whole = nearestFree(whole, design, taken);
        taken.push_back(whole);
        const bool top = anchor == Anchor::TopLeft || anchor == Anchor::TopRight ||
                         anchor == Anchor::TopMiddle || anchor == Anchor::Centre;
        float y = top ? whole.origin.y + whole.size.height : whole.origin.y;
        for (Note* note : stack.notes) {
            const Size text = note->label->getContentSize();
            const float w = text.width + 2 * kMargin, h = text.height + 2 * kMargin;
            // Each note keeps to the stack's side: right-aligned on the right, centred in the middle.
            const bool left = anchor == Anchor::TopLeft || anchor == Anchor::BottomLeft;
            const bool middle =
                anchor == Anchor::Centre || anchor == Anchor::TopMiddle || anchor == Anchor::BottomMiddle;
            const float x = left     ? whole.origin.x
                            : middle ? whole.origin.x + (whole.size.width - w) / 2
                                     : whole.origin.x + whole.size.width - w;
            const float noteY = top ? y - h : y;
            y = top ? y - h - kMargin : y + h + kMargin;
            note->drawnAt = Rect(x, noteY, w, h);
            renderer.fillRect(note->drawnAt, Color3B::BLACK, kPlateOpacity);
            note->label->setPosition(x + w / 2, noteY + h / 2);
            note->label->visit(renderer, AffineTransform::IDENTITY, 255, Color3B::WHITE);
        }
    }
}

} // namespace cocos2d
