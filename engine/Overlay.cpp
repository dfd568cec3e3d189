#include "Overlay.h"

#include "Label.h"
#include "Renderer.h"

#include <algorithm>

namespace cocos2d {

namespace {
// Distance from the screen's edge, and the dark plate's margin around the text.
constexpr float kEdge = 24;
constexpr float kMargin = 12;
constexpr uint8_t kPlateOpacity = 170;
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
        _notes.push_back({key, text, place, seconds, label});
        ++_revision;
        return;
    }
    it->secondsLeft = seconds;
    if (it->text == text && it->place == place) return;
    ++_revision;
    it->text = text;
    it->place = place;
    it->label->setString(text);
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

void Overlay::draw(Renderer& renderer, const Size& design) {
    // Notes in one corner stack away from the edge, oldest nearest to it.
    float stacked[5] = {};
    for (const auto& note : _notes) {
        const Size text = note.label->getContentSize();
        const float w = text.width + 2 * kMargin, h = text.height + 2 * kMargin;
        const int corner = static_cast<int>(note.place);
        const bool left = note.place == Place::TopLeft || note.place == Place::BottomLeft;
        const bool top = note.place == Place::TopLeft || note.place == Place::TopRight;
        float x = left ? kEdge : design.width - kEdge - w;
        float y = top ? design.height - kEdge - h - stacked[corner] : kEdge + stacked[corner];
        if (note.place == Place::Centre) {
            x = (design.width - w) / 2;
            y = (design.height - h) / 2 - stacked[corner];
        }
        stacked[corner] += h + kMargin;
        renderer.fillRect(Rect(x, y, w, h), Color3B::BLACK, kPlateOpacity);
        note.label->setPosition(x + w / 2, y + h / 2);
        note.label->visit(renderer, AffineTransform::IDENTITY, 255, Color3B::WHITE);
    }
}

} // namespace cocos2d
