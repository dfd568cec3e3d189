#pragma once
// Actions made of actions. Each retains its parts; a part may be reused by a later composite
// once the earlier one is done with it.
#include "engine/scene/Action.h"

#include <vector>

namespace cocos2d {

class Sequence : public FiniteTimeAction {
  public:
    template <typename... A> static Sequence* create(A*... actions) {
        return createWithVector({static_cast<FiniteTimeAction*>(actions)...});
    }
    static Sequence* createWithVector(const std::vector<FiniteTimeAction*>& actions);
    ~Sequence() override;
    void startWithTarget(Node* target) override;
    void step(double dt) override;
    bool isDone() const override { return _index >= _actions.size(); }
    void stop() override;

  private:
    std::vector<FiniteTimeAction*> _actions;
    std::size_t _index = 0;
};

class Spawn : public FiniteTimeAction {
  public:
    template <typename... A> static Spawn* create(A*... actions) {
        return createWithVector({static_cast<FiniteTimeAction*>(actions)...});
    }
    static Spawn* createWithVector(const std::vector<FiniteTimeAction*>& actions);
    ~Spawn() override;
    void startWithTarget(Node* target) override;
    void step(double dt) override;
    bool isDone() const override;
    void stop() override;

  private:
    std::vector<FiniteTimeAction*> _actions;
    std::vector<bool> _finished;
};

class Repeat : public FiniteTimeAction {
  public:
    static Repeat* create(FiniteTimeAction* action, unsigned int times);
    ~Repeat() override;
    void startWithTarget(Node* target) override;
    void step(double dt) override;
    bool isDone() const override { return _count >= _times; }
    void stop() override;

  private:
    FiniteTimeAction* _inner = nullptr;
    unsigned int _times = 0;
    unsigned int _count = 0;
};

class RepeatForever : public Action {
  public:
    static RepeatForever* create(FiniteTimeAction* action);
    ~RepeatForever() override;
    void startWithTarget(Node* target) override;
    void step(double dt) override;
    bool isDone() const override { return false; }
    void stop() override;

  private:
    FiniteTimeAction* _inner = nullptr;
};

} // namespace cocos2d
