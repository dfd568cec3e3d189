#include "UserDefault.h"

#include "AppIdentity.h"
#include "Log.h"
#include "PlayerTexts.h"
#include "SaveAside.h"
#include "SaveFile.h"
#include "StoreSync.h"

#include <algorithm>
#include <cstdlib>

namespace cocos2d {

namespace {

// After a failure to open or to write: soon enough that a disk freed or a folder made
// writable is used within moments, seldom enough to cost nothing meanwhile.
constexpr float kRetrySeconds = 2;
// Another program holding the file is usually done with it soon.
constexpr float kBusyRetrySeconds = 0.25f;
// Commits failing for longer than this are worth a word on screen.
constexpr float kNoticeAfterSeconds = 1;
// How often the file is looked at between commits, for a player's or a program's hand on it.
constexpr float kCheckSeconds = 1;

UserDefault* g_instance = nullptr;
UserDefault::LateMerge g_lateMerge;

std::string dataFolder() {
    // A relative XDG_DATA_HOME is to be ignored: the save must not depend on the working folder.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        return std::string(xdg) + "/" + AppIdentity::get().name;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/" + AppIdentity::get().name;
    return {};
}

std::string describe(const UserDefault::Value& value) {
    if (const bool* flag = std::get_if<bool>(&value)) return *flag ? "true" : "false";
    return std::to_string(std::get<int>(value));
}

} // namespace

UserDefault* UserDefault::getInstance() {
    if (!g_instance) g_instance = new UserDefault;
    return g_instance;
}

void UserDefault::destroyInstance() {
    if (!g_instance) return;
    // One last try: a disk freed a moment ago still takes the session's progress, and a save
    // deleted a moment ago is written afresh.
    if (!g_instance->_file && g_instance->_state != State::Nowhere) g_instance->openFile();
    if (g_instance->_file) g_instance->checkFile();
    g_instance->flush();
    g_instance->reportUnsaved();
    delete g_instance;
    g_instance = nullptr;
}

std::string UserDefault::storeFolder() {
    return dataFolder();
}

std::string UserDefault::storePath() {
    const std::string folder = dataFolder();
    if (folder.empty()) return {};
    return folder + "/UserDefault.db";
}

void UserDefault::setLateMerge(LateMerge merge) {
    g_lateMerge = std::move(merge);
}

UserDefault::UserDefault() {
    if (openFile()) return;
    _retryIn = kRetrySeconds;
    sayOpenTrouble();
}

UserDefault::~UserDefault() = default;

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
    if (opening.outcome == SaveFile::Opening::Outcome::Stuck) {
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

void UserDefault::checkFile() {
    const SaveFile::Health health = _file->health();
    if (health == SaveFile::Health::Intact) return;
    const std::string path = storePath();
    _file->abandon();
    _file.reset();
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
            return;
        }
        _keptAside = aside;
    }
    // Everything the game holds goes into the fresh file.
    _pending = _values;
    _state = State::Unwritable;
    if (openFile()) return;
    _retryIn = _busy ? kBusyRetrySeconds : kRetrySeconds;
    _saidOpen = false;
    sayOpenTrouble();
}

int UserDefault::getIntegerForKey(const char* key) {
    return getIntegerForKey(key, 0);
}

int UserDefault::getIntegerForKey(const char* key, int defaultValue) {
    if (!key) return defaultValue;
    const auto it = _values.find(key);
    if (it == _values.end()) return defaultValue;
    if (const bool* flag = std::get_if<bool>(&it->second)) return *flag ? 1 : 0;
    return std::get<int>(it->second);
}

void UserDefault::setIntegerForKey(const char* key, int value) {
    if (!key) return;
    auto [it, inserted] = _values.try_emplace(key, value);
    // Games re-set the same values every frame; only a real change needs a write.
    if (!inserted && it->second == Value(value)) return;
    it->second = value;
    _pending[key] = value;
}

bool UserDefault::getBoolForKey(const char* key) {
    return getBoolForKey(key, false);
}

bool UserDefault::getBoolForKey(const char* key, bool defaultValue) {
    if (!key) return defaultValue;
    const auto it = _values.find(key);
    if (it == _values.end()) return defaultValue;
    if (const int* number = std::get_if<int>(&it->second)) return *number != 0;
    return std::get<bool>(it->second);
}

void UserDefault::setBoolForKey(const char* key, bool value) {
    if (!key) return;
    auto [it, inserted] = _values.try_emplace(key, value);
    if (!inserted && it->second == Value(value)) return;
    it->second = value;
    _pending[key] = value;
}

void UserDefault::flush() {
    if (_pending.empty() || !_file) return;
    std::string why;
    const int rc = _file->commit(_pending, why);
    if (rc == 0) {
        _pending.clear();
        StoreSync::committed();
        if (!_saidCommits.empty()) warn("saved progress to %s after all", storePath().c_str());
        _saidCommits.clear();
        _state = State::Saving;
        _failingFor = 0;
        return;
    }
    // Keep the frame's values pending and try again; say so once per kind of trouble.
    _state = State::Failing;
    if (std::find(_saidCommits.begin(), _saidCommits.end(), rc & 0xff) == _saidCommits.end()) {
        _saidCommits.push_back(rc & 0xff);
        warn("could not save progress to %s (%s); will keep trying", storePath().c_str(), why.c_str());
    }
    _retryIn = StoreReader::isBusy(rc) ? 0 : kRetrySeconds;
}

void UserDefault::endFrame(float seconds) {
    if (_retryIn > 0) _retryIn -= seconds;
    if (_state == State::Failing) _failingFor += seconds;
    if (_state == State::Nowhere) return;
    if (_file && (_checkIn -= seconds) <= 0) {
        _checkIn = kCheckSeconds;
        checkFile();
    }
    if (_retryIn > 0) return;
    if (!_file) {
        if (!openFile()) {
            _retryIn = _busy ? kBusyRetrySeconds : kRetrySeconds;
            return;
        }
        if (_saidOpen) warn("saving progress to %s from now on", storePath().c_str());
        _saidOpen = false;
    }
    flush();
}

// Short: a note in a corner must leave the picture to the game.
std::string UserDefault::trouble() const {
    if (_state == State::Unread) return PlayerTexts::get().saveNotRead;
    if (!_file || StoreSync::failing() || (_state == State::Failing && _failingFor >= kNoticeAfterSeconds))
        return PlayerTexts::get().notSaved;
    return {};
}

std::string UserDefault::takeKeptAside() {
    return std::exchange(_keptAside, {});
}

void UserDefault::reportUnsaved() const {
    if (_pending.empty()) return;
    std::string changes;
    for (const auto& [key, value] : _pending)
        changes += (changes.empty() ? "" : ", ") + key + "=" + describe(value);
    if (_state == State::Unread)
        warn("the saved progress at %s was never read, so nothing of this session was saved: %s",
             storePath().c_str(), changes.c_str());
    else if (_state == State::Nowhere)
        warn("progress not saved (%s): %s", _why.c_str(), changes.c_str());
    else
        warn("progress not saved to %s: %s", storePath().c_str(), changes.c_str());
}

} // namespace cocos2d
