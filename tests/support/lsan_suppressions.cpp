// Under LeakSanitizer: tests that open a real X display start SDL's libdbus, which keeps its
// globals to the end of the process by design. Those are not the game's leaks.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
