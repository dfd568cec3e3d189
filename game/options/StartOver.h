#pragma once
// Starting over: the player's progress set back to a first run's, settings kept. The only
// place the game ever takes progress away.
namespace StartOver {

// Every progress key back to 0 or false, all within one frame, so the store commits them
// together: a game killed right after has erased all of it or none.
void erase();

} // namespace StartOver
