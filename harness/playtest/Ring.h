#pragma once
// What the round's ring of element buttons shows, as players in the tools and tests read it.
#include "game/round/ButtonManager.h"
#include "game/round/GameButton.h"

namespace Ring {

// The ring redraws repeated elements frame by frame: it is settled once its six buttons show
// six different elements. A ring still being built (a button missing) is not.
inline bool settled(const ButtonManager* ring) {
    int seen = 0;
    for (const GameButton* button : ring->buttons)
        if (button) seen |= 1 << button->kind;
    return seen == (1 << ButtonManager::kButtons) - 1;
}

// The place (0..5, clockwise from the top left) of the button showing element id 1..6, or -1.
inline int placeShowing(const ButtonManager* ring, int element) {
    for (int i = 0; i < ButtonManager::kButtons; ++i)
        if (ring->buttons[i] && ring->buttons[i]->kind + 1 == element) return i;
    return -1;
}

inline GameButton* buttonShowing(const ButtonManager* ring, int element) {
    const int place = placeShowing(ring, element);
    return place < 0 ? nullptr : ring->buttons[place];
}

} // namespace Ring
