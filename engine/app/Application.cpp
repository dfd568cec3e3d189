#include "engine/app/Application.h"

#include "engine/app/SoundSettings.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/FileUtils.h"
#include "engine/base/Log.h"
#include "engine/graphics/TextCache.h"
#include "engine/graphics/TextureCache.h"
#include "engine/input/InputMap.h"
#include "engine/platform/Display.h"
#include "engine/platform/FrameDriver.h"
#include "engine/platform/InstanceLock.h"
#include "engine/platform/SystemLanguages.h"
#include "engine/platform/WindowState.h"
#include "engine/scene/Director.h"
#include "engine/scene/Overlay.h"
#include "engine/store/UserDefault.h"
#include "engine/window/DesktopIdentity.h"
#include "engine/window/GLView.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

namespace cocos2d {

namespace {
Application* g_application = nullptr;

// A file can be there and still be no use: a font that does not open is as good as none.
bool unreadableFont(const std::string& path) {
    const std::string ext = path.size() > 4 ? path.substr(path.size() - 4) : "";
    if (ext != ".ttf" && ext != ".otf") return false;
    if (!TTF_WasInit() && TTF_Init() != 0) return false;
    TTF_Font* font = TTF_OpenFont(path.c_str(), 12);
    if (font) TTF_CloseFont(font);
    return font == nullptr;
}
} // namespace

Application::Application() {
    g_application = this;
}

Application::~Application() {
    if (g_application == this) g_application = nullptr;
}

Application* Application::getInstance() {
    return g_application;
}

void Application::setAnimationInterval(float interval) {
    Director::getInstance()->setAnimationInterval(interval);
}

bool Application::requiredFilesPresent() const {
    const FileUtils* files = FileUtils::getInstance();
    std::string missing, damaged;
    for (const std::string& file : _requiredFiles) {
        if (!files->isFileExist(file))
            missing += "\n  " + file;
        else if (unreadableFont(files->fullPathForFilename(file)))
            damaged += "\n  " + file + " (not a font)";
    }
    if (missing.empty() && damaged.empty()) return true;
    const std::string where = files->getResourceRoot();
    const std::string message =
        (missing.empty()
             ? "The game's files in " + where + " are damaged."
             : "The game's files are not where it looks for them, in " + where + ". Missing:" + missing) +
        (damaged.empty() ? "" : "\nDamaged:" + damaged) + "\nReinstalling the game brings them back.";
    warn("%s", message.c_str());
    if (!Display::headlessRequested()) {
        const std::string& name = DesktopIdentity::get().name;
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, name.empty() ? "Cannot start" : name.c_str(),
                                 message.c_str(), nullptr);
    }
    return false;
}

int Application::run() {
    applicationWillOpen();
    // Without its pictures or its lettering the game would be a dark window that says nothing.
    if (!requiredFilesPresent()) {
        SDL_Quit();
        return 1;
    }
    // Nobody to play: the save folder is left as it was.
    if (!Display::open()) {
        SDL_Quit();
        return 1;
    }
    // A second copy on the same progress would write over the first's purchases.
    InstanceLock lock(UserDefault::storeFolder(), UserDefault::storePath());
    if (!lock.held()) {
        lock.tellAlreadyRunning();
        return 0;
    }
    initGLContextAttrs();
    SoundSettings::install();
    if (!applicationDidFinishLaunching()) {
        shutdown();
        return 1;
    }
    Director* director = Director::getInstance();
    GLView* view = director->getOpenGLView();
    // The renderer opens now, while the first scene's pictures decode on worker threads.
    if (!view || !view->hasWindow() || !view->getRenderer()) {
        shutdown();
        return 1;
    }
    // The view is looked up when used: an action outlives the run that set it.
    InputMap::getInstance()->setAction(InputMap::kFullscreen, [] {
        if (GLView* shown = Director::getInstance()->getOpenGLView())
            shown->setFullscreen(!shown->isFullscreen());
    });
    FrameDriver::run(this, [view] {
        if (WindowState* state = view->windowState()) state->save();
        shutdown();
    });
    return 0;
}

bool Application::canQuit() {
    return FrameDriver::canEnd();
}

std::vector<std::string> Application::preferredLanguages() {
    return SystemLanguages::preferred();
}

std::string Application::forcedLanguage() {
    return SystemLanguages::forced();
}

std::vector<std::string> Application::builtWith() {
    return {"SDL2, SDL2_image, SDL2_ttf, SDL2_mixer (zlib License)", "SQLite (public domain)"};
}

bool Application::canFullscreen() {
    return WindowState::playerSized();
}

void Application::requestQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

void Application::shutdown() {
    Director* director = Director::getInstance();
    director->reset();
    UserDefault::destroyInstance();
    CocosDenshion::SimpleAudioEngine::end();
    AutoreleasePool::getInstance()->clear();
    Overlay::getInstance()->clear();
    TextCache::getInstance()->clear();
    TextureCache::getInstance()->removeAllTextures();
    director->setOpenGLView(nullptr);
    AutoreleasePool::getInstance()->clear();
    IMG_Quit();
    SDL_Quit();
}

} // namespace cocos2d
