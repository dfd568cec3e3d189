#pragma once
// Where the program finds what was installed with it, and what the desktop knows it by.
namespace Installed {
// Run before the application: the data folder, the icon pictures and the app id.
void describe();
} // namespace Installed
