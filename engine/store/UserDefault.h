#pragma once
// The saved key/value store, kept in SQLite under $XDG_DATA_HOME/NAME/ (by default
// ~/.local/share/NAME/), NAME being the program's file name. Reads come from memory. Everything set during a
// frame is committed together at the end of that frame, in one transaction, so a crash loses at most the
// frame in progress and never half of it. No frame waits on the file: a store that is busy, full or cannot be
// written keeps what was set and tries again on a later frame, and one deleted, replaced or damaged under the
// running game is written afresh from memory.
#include "engine/store/StoreReader.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace cocos2d {

class SaveFile;

class UserDefault {
  public:
    using Value = StoreReader::Value;
    using Values = std::map<std::string, Value>;
    // What the store holds once a file that could not be read at start is read at last, from
    // what it holds (`stored`) and what this session set meanwhile on defaults (`session`).
    using LateMerge = std::function<Values(const Values& stored, const Values& session)>;

    static UserDefault* getInstance();
    // Saves what it can and closes the store, saying on standard error what could not be
    // saved; the next getInstance() opens it again.
    static void destroyInstance();
    // The store file the next open uses, and its folder (both empty when there is no home).
    static std::string storePath();
    static std::string storeFolder();
    // Without one, the stored values win and what the session set meanwhile is dropped.
    static void setLateMerge(LateMerge merge);

    int getIntegerForKey(const char* key);
    int getIntegerForKey(const char* key, int defaultValue);
    void setIntegerForKey(const char* key, int value);
    bool getBoolForKey(const char* key);
    bool getBoolForKey(const char* key, bool defaultValue);
    void setBoolForKey(const char* key, bool value);

    // Commits what was set since the last commit, now, if the store is open.
    void flush();
    // The end of a frame of `seconds` (the director calls it; game code need not): commits
    // what the frame set. While the store cannot be opened or written it tries again every
    // few seconds; a store busy with another program, on the next frame.
    void endFrame(float seconds);
    bool hasPendingWrites() const { return !_pending.empty(); }
    // False while nothing can be written and the game plays on in memory.
    bool isPersistent() const { return _file != nullptr; }
    // What the player should know about saving, in a few words; empty while all is well.
    std::string trouble() const;
    // Where a save file this game could not use was kept, once; empty otherwise.
    std::string takeKeptAside();
    const Values& entries() const { return _values; }

  private:
    // Where saving stands; each state but Saving is left by a try every few seconds.
    enum class State {
        Saving,
        // Open, but commits fail.
        Failing,
        // The file's content is known (read, or there is none) but it cannot be written.
        Unwritable,
        // The file could not be read: the game plays on defaults, never to be written over it.
        Unread,
        // Nowhere to save, for good: no home, or a file in the way that could not be moved.
        Nowhere,
    };

    // After a failure to open or to write: soon enough that a disk freed or a folder made
    // writable is used within moments, seldom enough to cost nothing meanwhile.
    static constexpr float kRetrySeconds = 2;
    // Another program holding the file is usually done with it soon.
    static constexpr float kBusyRetrySeconds = 0.25f;
    // Commits failing for longer than this are worth a word on screen.
    static constexpr float kNoticeAfterSeconds = 1;
    // How often the file is looked at between commits, for a player's or a program's hand on it.
    static constexpr float kCheckSeconds = 1;

    UserDefault();
    ~UserDefault();
    bool openFile();
    void adopt(Values stored);
    // A file deleted, replaced or damaged under the game is written afresh from memory.
    // Thoroughly: read afresh and checked whole, as the next start would (at exit, and when
    // SQLite calls the file damaged). True when it was found unwell.
    bool checkFile(bool thoroughly = false);
    // Another running copy took the save over: this one never writes there again.
    void leaveToAnother();
    void sayOpenTrouble();
    void reportUnsaved() const;

    State _state = State::Unwritable;
    std::unique_ptr<SaveFile> _file;
    Values _values;
    Values _pending;
    // Why the last open failed.
    std::string _why;
    // Seconds until the next try to open or to commit, and until the file is looked at again.
    float _retryIn = 0;
    float _checkIn = 0;
    float _failingFor = 0;
    bool _busy = false;
    // Trouble already reported: opening, and commits by SQLite result code.
    bool _saidOpen = false;
    std::vector<int> _saidCommits;
    std::string _keptAside;
};

} // namespace cocos2d
