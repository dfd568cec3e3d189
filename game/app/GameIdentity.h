#pragma once

// Tells the engine whose it is: the game's name, where its progress is kept, and the engine's
// few words to the player in the game's own wording. Done before anything opens the store.
class GameIdentity {
  public:
    static void install();
};
