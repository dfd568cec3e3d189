#include "engine/scene/ActionComposite.h"

#include <algorithm>

namespace cocos2d {

namespace {
void retainAll(const std::vector<FiniteTimeAction*>& actions) {
    for (auto* a : actions)
        a->retain();
}
void releaseAll(const std::vector<FiniteTimeAction*>& actions) {
    for (auto* a : actions)
        a->release();
}
} // namespace

// Sequence

Sequence* Sequence::createWithVector(const std::vector<FiniteTimeAction*>& actions) {
    auto* s = new Sequence();
    for (auto* a : actions)
        if (a) s->_actions.push_back(a);
    retainAll(s->_actions);
    for (auto* a : s->_actions)
        s->_duration += a->getDuration();
    s->_index = s->_actions.size();
    s->autorelease();
    return s;
}

Sequence::~Sequence() {
    releaseAll(_actions);
}

void Sequence::startWithTarget(Node* target) {
    FiniteTimeAction::startWithTarget(target);
    _index = 0;
    if (!_actions.empty()) _actions[0]->startWithTarget(target);
}

void Sequence::step(double dt) {
    _elapsed += dt;
    double remaining = dt;
    while (_index < _actions.size()) {
        FiniteTimeAction* current = _actions[_index];
        current->step(remaining);
        if (!current->isDone()) return;
        remaining = current->overflow();
        current->stop();
        if (++_index < _actions.size())
            _actions[_index]->startWithTarget(_target);
        else
            return;
        remaining = std::max(remaining, 0.0);
    }
}

void Sequence::stop() {
    if (_index < _actions.size()) _actions[_index]->stop();
    FiniteTimeAction::stop();
}

// Spawn

Spawn* Spawn::createWithVector(const std::vector<FiniteTimeAction*>& actions) {
    auto* s = new Spawn();
    for (auto* a : actions)
        if (a) s->_actions.push_back(a);
    retainAll(s->_actions);
    for (auto* a : s->_actions)
        s->_duration = std::max(s->_duration, a->getDuration());
    s->_finished.assign(s->_actions.size(), true);
    s->autorelease();
    return s;
}

Spawn::~Spawn() {
    releaseAll(_actions);
}

void Spawn::startWithTarget(Node* target) {
    FiniteTimeAction::startWithTarget(target);
    for (std::size_t i = 0; i < _actions.size(); ++i) {
        _actions[i]->startWithTarget(target);
        _finished[i] = false;
    }
}

void Spawn::step(double dt) {
    _elapsed += dt;
    for (std::size_t i = 0; i < _actions.size(); ++i) {
        if (_finished[i]) continue;
        _actions[i]->step(dt);
        if (_actions[i]->isDone()) {
            _actions[i]->stop();
            _finished[i] = true;
        }
    }
}

bool Spawn::isDone() const {
    return std::all_of(_finished.begin(), _finished.end(), [](bool f) { return f; });
}

void Spawn::stop() {
    for (std::size_t i = 0; i < _actions.size(); ++i)
        if (!_finished[i]) {
            _actions[i]->stop();
            _finished[i] = true;
        }
    FiniteTimeAction::stop();
}

// Repeat

Repeat* Repeat::create(FiniteTimeAction* action, unsigned int times) {
    auto* r = new Repeat();
    r->_inner = action;
    action->retain();
    r->_times = times;
    r->_count = times;
    r->_duration = action->getDuration() * times;
    r->autorelease();
    return r;
}

Repeat::~Repeat() {
    _inner->release();
}

void Repeat::startWithTarget(Node* target) {
    FiniteTimeAction::startWithTarget(target);
    _count = 0;
    if (_times > 0) _inner->startWithTarget(target);
}

void Repeat::step(double dt) {
    _elapsed += dt;
    double remaining = dt;
    while (_count < _times) {
        _inner->step(remaining);
        if (!_inner->isDone()) return;
        remaining = _inner->overflow();
        _inner->stop();
        ++_count;
        if (_count >= _times) return;
        _inner->startWithTarget(_target);
        // A part that takes no time would repeat for ever within one frame.
        if (_inner->getDuration() <= 0) {
            _count = _times;
            return;
        }
    }
}

void Repeat::stop() {
    if (_count < _times) _inner->stop();
    FiniteTimeAction::stop();
}

// RepeatForever

RepeatForever* RepeatForever::create(FiniteTimeAction* action) {
    auto* r = new RepeatForever();
    r->_inner = action;
    action->retain();
    r->autorelease();
    return r;
}

RepeatForever::~RepeatForever() {
    _inner->release();
}

void RepeatForever::startWithTarget(Node* target) {
    Action::startWithTarget(target);
    _inner->startWithTarget(target);
}

void RepeatForever::step(double dt) {
    _inner->step(dt);
    while (_inner->isDone()) {
        const double remaining = _inner->overflow();
        _inner->stop();
        _inner->startWithTarget(_target);
        if (_inner->getDuration() <= 0) return;
        _inner->step(remaining);
    }
}

void RepeatForever::stop() {
    _inner->stop();
    Action::stop();
}

} // namespace cocos2d
