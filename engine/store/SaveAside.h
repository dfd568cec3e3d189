#pragma once
// Keeping a save file this game cannot use beside the store, under a name of its own, so that
// nothing a player had is ever deleted.
#include <string>

namespace cocos2d {

namespace SaveAside {

// Moves the file (with its WAL and shared-memory companions) to a free name beside it and says
// so; the new name, or empty when it could not be moved.
std::string move(const std::string& path, const std::string& why);
// Copies the file and its WAL to a free name beside it; the copy's name, or empty (with
// `error` set) when none could be made.
std::string copy(const std::string& path, std::string& error);
// Removes what a store left beside a file that is gone: replayed into a fresh file, an old
// WAL would bring back stale rows.
void dropCompanions(const std::string& path);

} // namespace SaveAside

} // namespace cocos2d
