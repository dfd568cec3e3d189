#pragma once
// The scene-graph node: a transform, a look (visibility, opacity, colour), children ordered by
// local z-order and order of adding, and its own actions and schedules.
#include "engine/base/Ref.h"
#include "engine/base/Types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cocos2d {

class Action;
class Renderer;
class Scheduler;
class ActionManager;

class Node : public Ref {
  public:
    static Node* create();
    virtual bool init() { return true; }
    ~Node() override;

    // Tree. A node is retained by its parent.
    virtual void addChild(Node* child);
    virtual void addChild(Node* child, int localZOrder);
    virtual void removeChild(Node* child, bool cleanup = true);
    void removeFromParent() { removeFromParentAndCleanup(true); }
    void removeFromParentAndCleanup(bool cleanup);
    void removeAllChildrenWithCleanup(bool cleanup);
    Node* getParent() const { return _parent; }
    // Children in drawing order (z-order, then order of adding).
    const std::vector<Node*>& getChildren() const;
    std::size_t getChildrenCount() const { return _children.size(); }
    int getLocalZOrder() const { return _localZOrder; }
    void setLocalZOrder(int z);

    // Transform.
    virtual void setPosition(const Vec2& position);
    void setPosition(float x, float y) { setPosition(Vec2(x, y)); }
    const Vec2& getPosition() const { return _position; }
    float getPositionX() const { return _position.x; }
    float getPositionY() const { return _position.y; }
    void setPositionX(float x) { setPosition(Vec2(x, _position.y)); }
    void setPositionY(float y) { setPosition(Vec2(_position.x, y)); }
    virtual void setScale(float scale);
    virtual void setScaleX(float scaleX);
    virtual void setScaleY(float scaleY);
    float getScale() const { return _scaleX; }
    float getScaleX() const { return _scaleX; }
    float getScaleY() const { return _scaleY; }
    // Degrees, clockwise.
    virtual void setRotation(float degrees);
    float getRotation() const { return _rotation; }
    virtual void setAnchorPoint(const Vec2& anchor);
    const Vec2& getAnchorPoint() const { return _anchorPoint; }
    virtual void setContentSize(const Size& size);
    const Size& getContentSize() const { return _contentSize; }
    // When set, the position names the bottom-left corner, while scale and rotation still
    // turn about the anchor point (scenes, layers and menus).
    void setIgnoreAnchorPointForPosition(bool ignore);
    bool isIgnoreAnchorPointForPosition() const { return _ignoreAnchor; }
    AffineTransform getNodeToParentTransform() const;
    AffineTransform getNodeToWorldTransform() const;
    Vec2 convertToNodeSpace(const Vec2& worldPoint) const;
    Vec2 convertToWorldSpace(const Vec2& nodePoint) const;

    // Look.
    virtual void setVisible(bool visible) { _visible = visible; }
    bool isVisible() const { return _visible; }
    // Visible, and so is every ancestor.
    bool isShown() const;
    // A picture the player reads (a timer, a score) that nothing the engine lays over the game,
    // notes or prompts, may cover; every button, word and number is such already.
    void setKeptInSight(bool kept) { _keptInSight = kept; }
    bool isKeptInSight() const { return _keptInSight; }
    virtual void setOpacity(uint8_t opacity) { _opacity = opacity; }
    uint8_t getOpacity() const { return _opacity; }
    virtual void setColor(const Color3B& color) { _color = color; }
    const Color3B& getColor() const { return _color; }
    // Whether this node's opacity and colour multiply into its children's.
    void setCascadeOpacityEnabled(bool on) { _cascadeOpacity = on; }
    void setCascadeColorEnabled(bool on) { _cascadeColor = on; }
    bool isCascadeOpacityEnabled() const { return _cascadeOpacity; }
    bool isCascadeColorEnabled() const { return _cascadeColor; }

    // Life in the running scene.
    bool isRunning() const { return _running; }
    virtual void onEnter();
    virtual void onExit();
    // Stops every action and schedule of this node and its children.
    virtual void cleanup();
    virtual void pause();
    virtual void resume();
    // Paused nodes, and nodes outside the running scene, get no actions, updates, timers or touches.
    bool isPausedForScheduling() const { return _paused || !_running; }

    // Actions.
    Action* runAction(Action* action);
    void stopAction(Action* action);
    void stopAllActions();
    std::size_t getNumberOfRunningActions() const;

    // Scheduling.
    void scheduleUpdate();
    void unscheduleUpdate();
    virtual void update(float delta);
    void schedule(SEL_SCHEDULE selector, float interval);
    void schedule(SEL_SCHEDULE selector) { schedule(selector, 0.0f); }
    void scheduleOnce(SEL_SCHEDULE selector, float delay);
    void unschedule(SEL_SCHEDULE selector);
    void unscheduleAllCallbacks();
    bool isScheduled(SEL_SCHEDULE selector) const;

    // Drawing. visit() draws the subtree: children below z 0, this node, the rest.
    virtual void visit(Renderer& renderer, const AffineTransform& parentTransform, uint8_t parentOpacity,
                       const Color3B& parentColor);
    virtual void draw(Renderer& renderer, const AffineTransform& transform, uint8_t opacity,
                      const Color3B& color);

    // For tools: the class name without namespace ("GameLayer").
    std::string getTypeName() const;

    // Heard as the node is destroyed, by a module above the scenes that keeps the node in a table
    // of its own (the input map, once a control presses this node), so that it forgets it too.
    using RemovedHook = void (*)(const Node* node);
    void setRemovedHook(RemovedHook hook) { _removedHook = hook; }

  protected:
    Node();
    void sortChildrenIfNeeded() const;

    Node* _parent = nullptr;
    mutable std::vector<Node*> _children;
    mutable bool _childrenDirty = false;
    int _localZOrder = 0;
    unsigned long long _orderOfArrival = 0;

    Vec2 _position;
    float _scaleX = 1, _scaleY = 1;
    float _rotation = 0;
    Vec2 _anchorPoint;
    Size _contentSize;
    bool _ignoreAnchor = false;

    bool _visible = true;
    uint8_t _opacity = 255;
    Color3B _color;
    bool _cascadeOpacity = false;
    bool _cascadeColor = false;

    bool _running = false;
    bool _paused = false;
    bool _keptInSight = false;

  private:
    RemovedHook _removedHook = nullptr;
};

} // namespace cocos2d
