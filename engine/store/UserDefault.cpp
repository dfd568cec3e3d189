#include "engine/store/UserDefault.h"

#include "engine/base/AppIdentity.h"
#include "engine/base/Log.h"
#include "engine/base/PlayerTexts.h"
#include "engine/platform/StoreSync.h"
#include "engine/store/SaveFile.h"

#include <algorithm>
#include <cstdlib>

namespace cocos2d {

namespace {

UserDefault* g_instance = nullptr;

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
    // Read afresh as the next start will read it: damage found now is mended while the game
    // still holds every value.
    if (g_instance->_file) g_instance->checkFile(true);
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

UserDefault::UserDefault() {
    if (openFile()) return;
    _retryIn = kRetrySeconds;
    sayOpenTrouble();
}

UserDefault::~UserDefault() = default;

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
    // SQLite calling the file damaged is checked at once, and a damaged file written afresh.
    if (StoreReader::isBadContent(rc) && checkFile(true)) return;
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
    // A save being turned into WAL mode on the checkpoint thread takes the frames' values later.
    if (_file->ready()) flush();
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
