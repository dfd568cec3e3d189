#pragma once
// The program's main loop. The game derives its delegate from Application; constructing it
// makes it the instance that run() drives.
#include <string>
#include <vector>

namespace cocos2d {

class ApplicationProtocol {
  public:
    virtual ~ApplicationProtocol() = default;
    virtual bool applicationDidFinishLaunching() = 0;
    virtual void applicationDidEnterBackground() = 0;
    virtual void applicationWillEnterForeground() = 0;
    virtual void setAnimationInterval(float interval) = 0;
    virtual void initGLContextAttrs() {}
    // First thing in run(), before the store may be read: words a second copy's message needs.
    virtual void applicationWillOpen() {}
};

class Application : public ApplicationProtocol {
  public:
    Application();
    ~Application() override;
    static Application* getInstance();
    // Opens the window, runs frames until it is closed, then saves and shuts down. Exit status.
    int run();
    void setAnimationInterval(float interval) override;
    // Files (relative to the resource root) the program cannot be played without: when one is
    // missing, run() says so in a message box and on standard error and fails before any window.
    void setRequiredFiles(std::vector<std::string> files) { _requiredFiles = std::move(files); }

    // Shuts engine services down in order (used by run() and by tools that drive frames themselves).
    static void shutdown();
    // Whether the program may end itself: a desktop window can; a page in a browser cannot,
    // and a game there shows no way to quit.
    static bool canQuit();
    // Whether the game can make its own window fill the screen: a desktop window can; in a
    // browser the page is sized by the browser, which keeps fullscreen for itself.
    static bool canFullscreen();
    // The libraries the engine is built on, with their licences, a line each, for the credits.
    static std::vector<std::string> builtWith();
    // Ends the main loop after this frame, as closing the window does.
    static void requestQuit();
    // The languages the system asks for, most wanted first ("de_DE.UTF-8", "pt-BR", "C").
    static std::vector<std::string> preferredLanguages();
    // A tester's language over the player's choice (NAME_LANGUAGE, "?lang=" in the browser).
    static std::string forcedLanguage();

  private:
    bool requiredFilesPresent() const;
    std::vector<std::string> _requiredFiles;
};

} // namespace cocos2d
