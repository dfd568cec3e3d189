#pragma once
// The window (or, for tools and tests, an off-screen picture of the design size) and the
// renderer that draws into it. The design area is fitted into the window whole.
#include "engine/base/Ref.h"
#include "engine/base/Types.h"

#include <functional>
#include <memory>
#include <string>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Surface;

namespace cocos2d {

class WindowState;
struct WindowPlacement;

class GLView : public Ref {
  public:
    struct GLContextAttrs {
        int redBits, greenBits, blueBits, alphaBits, depthBits, stencilBits;
    };
    static void setGLContextAttrs(GLContextAttrs& attrs);
    static GLContextAttrs getGLContextAttrs();

    ~GLView() override;
    virtual void setDesignResolutionSize(float width, float height, ResolutionPolicy policy);
    Size getDesignResolutionSize() const { return _designSize; }
    Size getFrameSize() const;
    void setFrameSize(float width, float height);
    // Not every window manager holds a window to the size limits it is given (nor does a
    // program resizing it from outside): a window sized past them is brought back.
    void keepSizeWithinLimits();
    bool hasWindow() const { return _window != nullptr; }
    // A window's renderer opens on first use, and the window shows then: until something is to
    // be drawn the first scene's pictures decode while nothing waits on OpenGL. Null when it
    // cannot open.
    SDL_Renderer* getRenderer();
    SDL_Window* getWindow() const { return _window; }
    // Writes what the view shows now as a PNG of the design size.
    bool saveScreenshot(const std::string& file);
    // Shows the frame drawn. After the first, the window gets its icon: reading and shrinking
    // the icon's pictures need not keep the first frame waiting.
    void present();
    bool hasPresented() const { return _presented; }
    // Called when a frame is drawn, just before it is shown: the loop waits there for the
    // frame's moment. Null: shown at once.
    void setBeforePresent(std::function<void()> wait) { _beforePresent = std::move(wait); }
    // Completes the drawing queued so far, so that a wait before the present is all that
    // stands between the frame's moment and the screen.
    void finishDrawing();
    // The refresh rate of the display the window is on, in Hz; 0 when unknown.
    double getRefreshRate() const;
    // Whether presents wait for the display's refresh.
    void setVSync(bool on);
    // Desktop fullscreen, the design area letterboxed as in a window.
    void setFullscreen(bool fullscreen);
    bool isFullscreen() const { return _fullscreen; }
    // Where the window is and how it shows, remembered from run to run; null off screen.
    WindowState* windowState() const { return _windowState.get(); }

  protected:
    GLView() = default;
    bool initWindow(const std::string& title, int width, int height);
    bool initOffscreen();
    bool openRenderer();
    void applyDesignResolution();

    SDL_Window* _window = nullptr;
    SDL_Renderer* _renderer = nullptr;
    SDL_Surface* _target = nullptr;
    Size _designSize{1920, 1080};
    ResolutionPolicy _policy = ResolutionPolicy::SHOW_ALL;
    bool _fullscreen = false;
    bool _presented = false;
    std::unique_ptr<WindowState> _windowState;
    // Where the window goes, until its renderer opens and it shows.
    std::unique_ptr<WindowPlacement> _placement;
    std::function<void()> _beforePresent;
    // OpenGL's glFinish where the renderer draws with OpenGL (a software OpenGL draws a frame
    // only when it is made to finish).
    void (*_finishGL)() = nullptr;
};

class GLViewImpl : public GLView {
  public:
    // A resizable window with this title, as the player left it last time; at first 1280 x 720.
    static GLViewImpl* create(const std::string& viewName);
    // No window: draws into memory (tools and tests).
    static GLViewImpl* createOffscreen();
};

} // namespace cocos2d
