#pragma once
// Where the store's file lasts. On the desktop the file itself is kept. In the browser it lives
// in the page's memory and the page copies it into the browser's storage: after each commit
// (never during one, so the database and its journal are always of one moment), and when the
// page is hidden or left.
namespace cocos2d {
namespace StoreSync {

// False when nothing written will outlast the program (the browser refused its storage).
bool kept();
// A commit has reached the file.
void committed();
// True while what is written does not last: the browser refused the last copy, or keeps it only
// as long as the window. The file itself may be fine.
bool failing();

} // namespace StoreSync
} // namespace cocos2d
