// Opening the store's file, taking in what it holds, and keeping it whole while the game runs.
#include "engine/store/UserDefault.h"

#include "engine/base/Log.h"
#include "engine/base/PlayerTexts.h"
#include "engine/platform/InstanceLock.h"
#include "engine/platform/StoreSync.h"
#include "engine/store/SaveAside.h"
#include "engine/store/SaveFile.h"

namespace cocos2d {

namespace {
UserDefault::LateMerge g_lateMerge;
} // namespace

void UserDefault::setLateMerge(LateMerge merge) {
    g_lateMerge = std::move(merge);
}

void UserDefault::sayOpenTrouble() {
    // A file that could not be moved aside has been reported already.
    if (_saidOpen) return;
    _saidOpen = true;
    if (_state == State::Nowhere)
        warn("%s: progress will not be saved", _why.c_str());
    else if (_state == State::Unread)
        warn("%s: playing on defaults, and progress will not be saved until the file has been read; "
             "trying again every few seconds",
             _why.c_str());
    else
        warn("%s: progress will not be saved until it can be; trying again every few seconds", _why.c_str());
}

bool UserDefault::openFile() {
    const std::string path = storePath();
    if (path.empty()) {
        _state = State::Nowhere;
        _why = "no home folder (neither XDG_DATA_HOME nor HOME is set)";
        return false;
    }
    if (!StoreSync::kept()) {
        _state = State::Nowhere;
        _why = "the browser keeps nothing for this page (private window or no space)";
        return false;
    }
    // Only the first try of a session starts from nothing.
    const bool first = _state == State::Unwritable && _values.empty() && _pending.empty() && !_saidOpen;
    SaveFile::Opening opening;
    _file = SaveFile::open(path, opening);
    if (!opening.keptAside.empty()) _keptAside = opening.keptAside;
    _busy = opening.outcome == SaveFile::Opening::Outcome::Busy;
    if (_file) {
        adopt(std::move(opening.rows.values));
        _state = State::Saving;
        _checkIn = kCheckSeconds;
        return true;
    }
    _why = opening.why;
    if (opening.outcome == SaveFile::Opening::Outcome::Taken) {
        leaveToAnother();
    } else if (opening.outcome == SaveFile::Opening::Outcome::Stuck) {
        _state = State::Nowhere;
        _saidOpen = true;
    } else if (opening.rows.read) {
        if (first || _state == State::Unread) adopt(std::move(opening.rows.values));
        _state = State::Unwritable;
    } else if (first) {
        _state = State::Unread;
    }
    return false;
}

void UserDefault::adopt(Values stored) {
    if (_state != State::Unread) {
        for (const auto& [key, value] : _pending)
            stored[key] = value;
        _values = std::move(stored);
        return;
    }
    // Played on defaults until now: the saved progress wins, and what was set meanwhile is
    // only added to it as the game sees fit, never written over it as it is.
    if (!_pending.empty())
        warn("read the saved progress at %s at last; %s", storePath().c_str(),
             g_lateMerge ? "what changed before that is added to it"
                         : "what changed before that is not saved");
    Values merged = g_lateMerge ? g_lateMerge(stored, _values) : stored;
    _pending.clear();
    for (const auto& [key, value] : merged) {
        const auto it = stored.find(key);
        if (it == stored.end() || !(it->second == value)) _pending[key] = value;
    }
    _values = std::move(merged);
    _state = State::Unwritable;
}

bool UserDefault::checkFile(bool thoroughly) {
    const SaveFile::Health health = thoroughly ? _file->verify() : _file->health();
    if (health == SaveFile::Health::Intact) return false;
    const std::string path = storePath();
    _file->abandon();
    _file.reset();
    // A copy that took the save over is left to it: two copies setting each other's files
    // aside would leave the save to whichever wrote last.
    if (!InstanceLock::claim(path)) {
        leaveToAnother();
        return true;
    }
    if (health == SaveFile::Health::Gone) {
        warn("saved progress at %s was deleted while the game ran; saving everything again", path.c_str());
        SaveAside::dropCompanions(path);
    } else {
        const std::string aside =
            SaveAside::move(path, health == SaveFile::Health::Replaced ? "replaced while the game ran"
                                                                       : "damaged while the game ran");
        if (aside.empty()) {
            _state = State::Nowhere;
            _why = "cannot move " + path + " aside";
            return true;
        }
        _keptAside = aside;
    }
    // Everything the game holds goes into the fresh file.
    _pending = _values;
    _state = State::Unwritable;
    if (openFile() || _state == State::Nowhere) return true;
    _retryIn = _busy ? kBusyRetrySeconds : kRetrySeconds;
    _saidOpen = false;
    sayOpenTrouble();
    return true;
}

void UserDefault::leaveToAnother() {
    _state = State::Nowhere;
    _why = "another copy of the game now saves its progress in " + storeFolder();
    _saidOpen = true;
    warn("%s: this copy stops saving", _why.c_str());
}

} // namespace cocos2d
