#pragma once
// The saved key/value store, kept in SQLite under $XDG_DATA_HOME/doviveduzuz/ (by default
// ~/.local/share/doviveduzuz/). Reads come from memory. Everything set during a frame is
// committed together at the end of that frame, in one transaction, so a crash loses at
// most the frame in progress and never half of it.
#include <map>
#include <string>
#include <variant>

struct sqlite3;

namespace cocos2d {

class UserDefault {
  public:
    using Value = std::variant<int, bool>;

    static UserDefault* getInstance();
    // Saves what is pending and closes the store; the next getInstance() opens it again.
    static void destroyInstance();
    // The store file the next open uses.
    static std::string storePath();

    int getIntegerForKey(const char* key);
    int getIntegerForKey(const char* key, int defaultValue);
    void setIntegerForKey(const char* key, int value);
    bool getBoolForKey(const char* key);
    bool getBoolForKey(const char* key, bool defaultValue);
    void setBoolForKey(const char* key, bool value);

    // Commits what was set since the last commit. The director calls it at the end of
    // every frame; there is no need to call it from game code.
    void flush();
    bool hasPendingWrites() const { return !_pending.empty(); }
    // False when nothing can be written and the game plays on in memory.
    bool isPersistent() const { return _db != nullptr; }
    const std::map<std::string, Value>& entries() const { return _values; }

  private:
    UserDefault();
    ~UserDefault();
    void open();
    bool openAt(const std::string& path);
    void moveAside(const std::string& path, const char* why);

    sqlite3* _db = nullptr;
    std::map<std::string, Value> _values;
    std::map<std::string, Value> _pending;
};

} // namespace cocos2d
