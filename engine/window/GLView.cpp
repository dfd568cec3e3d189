#include "engine/window/GLView.h"

#include "engine/base/Log.h"
#include "engine/platform/Display.h"
#include "engine/platform/WindowState.h"
#include "engine/window/DesktopIdentity.h"
#include "engine/window/WindowIcon.h"

#include <SDL.h>
#include <SDL_image.h>
#include <algorithm>
#include <string_view>

namespace cocos2d {

namespace {
GLView::GLContextAttrs g_attrs{8, 8, 8, 8, 24, 8};
// A quarter of the design size each way: the buttons are still large enough to hit. At the
// other end, four times the design size: a window of any larger picture only costs memory.
constexpr int kMinimumWidth = 480;
constexpr int kMinimumHeight = 270;
constexpr int kMaximumWidth = 7680;
constexpr int kMaximumHeight = 4320;
} // namespace

void GLView::setGLContextAttrs(GLContextAttrs& attrs) {
    g_attrs = attrs;
}
GLView::GLContextAttrs GLView::getGLContextAttrs() {
    return g_attrs;
}

GLView::~GLView() {
    _windowState.reset();
    if (_renderer) SDL_DestroyRenderer(_renderer);
    if (_target) SDL_FreeSurface(_target);
    if (_window) SDL_DestroyWindow(_window);
}

bool GLView::initWindow(const std::string& title, int width, int height) {
    if (!Display::open()) return false;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    const WindowPlacement place = WindowState::restore(width, height);
    const PixelRect& at = place.windowed;
    // Shown only once it has its size limits (when its renderer opens): setting them resizes the
    // window, and a window already maximised would take the maximised size as the one to come
    // back to.
    _window = SDL_CreateWindow(title.c_str(), at.x, at.y, at.width, at.height,
                               SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN |
                                   (place.maximized ? SDL_WINDOW_MAXIMIZED : 0));
    if (!_window) {
        warn("cannot open the window: %s", SDL_GetError());
        return false;
    }
    // Dragged down to a sliver, the game could not be seen or played.
    if (WindowState::playerSized()) {
        SDL_SetWindowMinimumSize(_window, kMinimumWidth, kMinimumHeight);
        SDL_SetWindowMaximumSize(_window, kMaximumWidth, kMaximumHeight);
    }
    _placement = std::make_unique<WindowPlacement>(place);
    return true;
}

SDL_Renderer* GLView::getRenderer() {
    if (!_renderer && _window) openRenderer();
    return _renderer;
}

bool GLView::openRenderer() {
    _renderer = SDL_CreateRenderer(_window, -1, SDL_RENDERER_ACCELERATED);
    if (!_renderer) _renderer = SDL_CreateRenderer(_window, -1, SDL_RENDERER_SOFTWARE);
    if (!_renderer) {
        warn("cannot create a renderer: %s", SDL_GetError());
        return false;
    }
    applyDesignResolution();
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(_renderer, &info) == 0 && std::string_view(info.name).starts_with("opengl"))
        _finishGL = reinterpret_cast<void (*)()>(SDL_GL_GetProcAddress("glFinish"));
    SDL_ShowWindow(_window);
    _windowState = std::make_unique<WindowState>(_window, *_placement);
    if (_placement->fullscreen) setFullscreen(true);
    return true;
}

bool GLView::initOffscreen() {
    _target =
        SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(_designSize.width),
                                       static_cast<int>(_designSize.height), 32, SDL_PIXELFORMAT_ARGB8888);
    if (!_target) return false;
    _renderer = SDL_CreateSoftwareRenderer(_target);
    if (!_renderer) return false;
    applyDesignResolution();
    return true;
}

void GLView::setDesignResolutionSize(float width, float height, ResolutionPolicy policy) {
    _designSize = Size(width, height);
    _policy = policy;
    if (_target && (_target->w != static_cast<int>(width) || _target->h != static_cast<int>(height))) {
        // The off-screen picture always has the design size.
        SDL_DestroyRenderer(_renderer);
        SDL_FreeSurface(_target);
        _renderer = nullptr;
        _target = nullptr;
        initOffscreen();
        return;
    }
    applyDesignResolution();
}

void GLView::applyDesignResolution() {
    if (!_renderer) return;
    // The renderer keeps the design area whole and centred, with bars, whatever the window's shape.
    SDL_RenderSetLogicalSize(_renderer, static_cast<int>(_designSize.width),
                             static_cast<int>(_designSize.height));
}

Size GLView::getFrameSize() const {
    int w = 0, h = 0;
    if (_window)
        SDL_GetWindowSize(_window, &w, &h);
    else if (_target) {
        w = _target->w;
        h = _target->h;
    }
    return Size(static_cast<float>(w), static_cast<float>(h));
}

void GLView::keepSizeWithinLimits() {
    if (!_window || !WindowState::playerSized()) return;
    // Fullscreen and maximised windows are the desktop's to size.
    if (SDL_GetWindowFlags(_window) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED))
        return;
    int w = 0, h = 0;
    SDL_GetWindowSize(_window, &w, &h);
    const int width = std::clamp(w, kMinimumWidth, kMaximumWidth);
    const int height = std::clamp(h, kMinimumHeight, kMaximumHeight);
    if (width != w || height != h) SDL_SetWindowSize(_window, width, height);
}

void GLView::setFrameSize(float width, float height) {
    if (_window) SDL_SetWindowSize(_window, static_cast<int>(width), static_cast<int>(height));
}

void GLView::finishDrawing() {
    if (!_renderer) return;
    SDL_RenderFlush(_renderer);
    if (_finishGL) _finishGL();
}

void GLView::present() {
    if (!_renderer) return;
    if (_beforePresent) _beforePresent();
    SDL_RenderPresent(_renderer);
    if (!_presented && _window) {
        _presented = true;
        // Set on the window as it will stay: making the renderer may have replaced the first one.
        WindowIcon::apply(_window, DesktopIdentity::get().iconFiles);
    }
}

double GLView::getRefreshRate() const {
    SDL_DisplayMode mode;
    if (!_window || SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(_window), &mode) != 0) return 0;
    return mode.refresh_rate;
}

void GLView::setVSync(bool on) {
    if (_window && _renderer && SDL_RenderSetVSync(_renderer, on ? 1 : 0) != 0)
        warn("cannot turn vsync %s: %s", on ? "on" : "off", SDL_GetError());
}

void GLView::setFullscreen(bool fullscreen) {
    if (!_window || fullscreen == _fullscreen) return;
    if (SDL_SetWindowFullscreen(_window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0)
        _fullscreen = fullscreen;
    else
        warn("cannot change to %s: %s", fullscreen ? "fullscreen" : "a window", SDL_GetError());
}

bool GLView::saveScreenshot(const std::string& file) {
    if (!getRenderer()) return false;
    if (_target) return IMG_SavePNG(_target, file.c_str()) == 0;
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(_renderer, &w, &h);
    SDL_Surface* shot = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!shot) return false;
    // Read the whole output, bars included.
    SDL_Rect viewport;
    SDL_RenderGetViewport(_renderer, &viewport);
    float sx = 1, sy = 1;
    SDL_RenderGetScale(_renderer, &sx, &sy);
    SDL_RenderSetLogicalSize(_renderer, 0, 0);
    SDL_RenderSetScale(_renderer, 1, 1);
    SDL_RenderSetViewport(_renderer, nullptr);
    const bool ok =
        SDL_RenderReadPixels(_renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, shot->pixels, shot->pitch) == 0 &&
        IMG_SavePNG(shot, file.c_str()) == 0;
    SDL_FreeSurface(shot);
    applyDesignResolution();
    return ok;
}

GLViewImpl* GLViewImpl::create(const std::string& viewName) {
    auto* view = new GLViewImpl();
    view->autorelease();
    if (!view->initWindow(viewName, 1280, 720)) return nullptr;
    return view;
}

GLViewImpl* GLViewImpl::createOffscreen() {
    auto* view = new GLViewImpl();
    view->autorelease();
    if (!view->initOffscreen()) return nullptr;
    return view;
}

} // namespace cocos2d
