#pragma once
// Runs every node's actions once per frame, in the order they were started.
#include <cstddef>
#include <vector>

namespace cocos2d {

class Action;
class Node;

class ActionManager {
  public:
    ~ActionManager();
    void addAction(Action* action, Node* target);
    void removeAction(Action* action);
    void removeAllActionsFromTarget(Node* target);
    std::size_t getNumberOfRunningActionsInTarget(const Node* target) const;
    std::size_t size() const;
    void update(double dt);

  private:
    struct Entry {
        Action* action;
        Node* target;
    };
    void purge();
    std::vector<Entry> _entries;
    bool _updating = false;
    bool _hasDead = false;
};

} // namespace cocos2d
