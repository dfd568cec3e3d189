#pragma once
// Runs the scenes: in one frame, input already delivered, the scene change, actions and
// schedules, and drawing. What ends every frame (the store's save, the autorelease pool) is the
// app's (engine/app/AppFrame.h).
#include "engine/base/Types.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace cocos2d {

class ActionManager;
class EventDispatcher;
class GLView;
class Renderer;
class Scene;
class Scheduler;
class TextureCache;
class TransitionFade;

class Director {
  public:
    static Director* getInstance();

    GLView* getOpenGLView() const { return _view; }
    void setOpenGLView(GLView* view);
    void setDisplayStats(bool show) { _displayStats = show; }
    bool isDisplayStats() const { return _displayStats; }
    void setAnimationInterval(float interval) { _animationInterval = interval; }
    float getAnimationInterval() const { return _animationInterval; }
    // While stopped there are no updates, and the last picture stays: it is drawn again, as it
    // was, only when a note over it changes or the window asks for it (redraw()).
    void stopAnimation() { _animating = false; }
    void startAnimation() { _animating = true; }
    bool isAnimating() const { return _animating; }

    void runWithScene(Scene* scene);
    // Takes effect at the start of the next frame; a scene asked for during a fade waits
    // until the fade is over.
    void replaceScene(Scene* scene);
    // Makes a pending scene change now (tools use this to open a scene at once).
    void applyPendingScene();
    Scene* getRunningScene() const { return _runningScene; }
    Size getWinSize() const;

    Scheduler* getScheduler() const { return _scheduler.get(); }
    ActionManager* getActionManager() const { return _actionManager.get(); }
    EventDispatcher* getEventDispatcher() const { return _eventDispatcher.get(); }
    // Scenes preload what they show later, so that no picture is read mid-scene.
    TextureCache* getTextureCache() const;

    // Touches from the platform, in design units; none reach the game during a fade.
    void touchBegan(int id, const Vec2& location);
    void touchMoved(int id, const Vec2& location);
    void touchEnded(int id, const Vec2& location);

    // Lets one touch go without ending it where it is: nothing that it pressed fires.
    void cancelTouch(int id);

    // The scene's part of one frame of dt seconds: a scene asked for arrives, actions and
    // schedules advance, and the frame is drawn, only when the view has a window and not when
    // `draw` is false (a step of several taken before one picture is shown). The app's frame
    // (engine/app/AppFrame.h) wraps it with what ends every frame.
    void mainLoop(double dt, bool draw = true);
    // What the modules above the scenes lay over them: drawn after the scene, under the notes
    // (the menu highlight and the key badges).
    void addDrawnOver(std::function<void(Renderer&)> draw);
    // Heard each time a new scene arrives, before its first frame is drawn.
    void addSceneArrived(std::function<void()> heard);
    // Whether a scene has arrived since the last time this was asked.
    bool takeSceneArrival() { return std::exchange(_sceneArrival, false); }
    // The window lost its picture (uncovered, resized): the next frame draws, stopped or not.
    void redraw() { _redrawWanted = true; }
    void drawScene();
    unsigned long long getTotalFrames() const { return _frames; }

    // Ends the running scene and releases it (at exit, and between tests).
    void reset();

  private:
    Director();
    void sceneArrived();
    void setNextScene();
    void finishTransition(TransitionFade* transition);
    // Draws the frame into the window and shows it.
    void drawFrame();

    std::unique_ptr<ActionManager> _actionManager;
    std::unique_ptr<Scheduler> _scheduler;
    std::unique_ptr<EventDispatcher> _eventDispatcher;
    GLView* _view = nullptr;
    Scene* _runningScene = nullptr;
    Scene* _nextScene = nullptr;
    float _animationInterval = 1.0f / 60;
    bool _animating = true;
    bool _displayStats = false;
    unsigned long long _frames = 0;
    bool _redrawWanted = false;
    unsigned long long _shownRevision = 0;
    bool _sceneArrival = false;
    std::vector<std::function<void(Renderer&)>> _drawnOver;
    std::vector<std::function<void()>> _sceneArrived;
};

} // namespace cocos2d
