// The session's own word on its lock: the desktops that lock the screen say so on the session
// bus, as an ActiveChanged signal of their screensaver service (the freedesktop one, GNOME's,
// MATE's, Cinnamon's). It is the only word there is where no X display tells (a Wayland session).
// Nothing here ever waits on the bus: questions go out, answers are read as frames pass.
#include "platform/desktop/seams/ScreenLockWatchParts.h"

#ifndef DOVI_DBUS
namespace cocos2d::lockwatch {
std::unique_ptr<ScreenLockWatch> sessionBus() {
    return nullptr;
}
} // namespace cocos2d::lockwatch
#else

#include <dbus/dbus.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <sys/stat.h>

namespace cocos2d::lockwatch {

namespace {

// The services asked whether the screen is locked when the game starts.
constexpr const char* kServices[][2] = {{"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver"},
                                        {"org.gnome.ScreenSaver", "/org/gnome/ScreenSaver"}};

// The bus's address, only where one is running: with none set, the library would start one.
std::string sessionAddress() {
    if (const char* set = std::getenv("DBUS_SESSION_BUS_ADDRESS"); set && *set) return set;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat socket {};
    if (!runtime || stat((std::string(runtime) + "/bus").c_str(), &socket) != 0 || !S_ISSOCK(socket.st_mode))
        return "";
    return "unix:path=" + std::string(runtime) + "/bus";
}

bool firstBool(DBusMessage* message, bool& value) {
    DBusMessageIter args;
    if (!dbus_message_iter_init(message, &args)) return false;
    // GetActive's answer may come wrapped in a variant.
    DBusMessageIter inner;
    if (dbus_message_iter_get_arg_type(&args) == DBUS_TYPE_VARIANT) {
        dbus_message_iter_recurse(&args, &inner);
        args = inner;
    }
    if (dbus_message_iter_get_arg_type(&args) != DBUS_TYPE_BOOLEAN) return false;
    dbus_bool_t got = FALSE;
    dbus_message_iter_get_basic(&args, &got);
    value = got;
    return true;
}

bool endsWith(const char* text, const char* end) {
    const std::size_t length = std::strlen(text), endLength = std::strlen(end);
    return length >= endLength && std::strcmp(text + length - endLength, end) == 0;
}

class SessionBusLockWatch : public ScreenLockWatch {
  public:
    explicit SessionBusLockWatch(DBusConnection* bus) : _bus(bus) {
        // The bus answers in order: the greeting it wants first, then what is listened to, then
        // the questions, none of them waited for.
        send(dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS, DBUS_INTERFACE_DBUS, "Hello"));
        dbus_bus_add_match(_bus, "type='signal',member='ActiveChanged'", nullptr);
        // A screensaver that stops while on must not leave the game paused for good.
        dbus_bus_add_match(_bus, "type='signal',sender='" DBUS_SERVICE_DBUS "',member='NameOwnerChanged'",
                           nullptr);
        for (std::size_t n = 0; n < std::size(kServices); ++n) {
            const auto& [service, path] = kServices[n];
            DBusMessage* ask = dbus_message_new_method_call(service, path, service, "GetActive");
            // A screensaver nobody runs is not started for the question.
            if (ask) dbus_message_set_auto_start(ask, FALSE);
            _asked[n] = send(ask);
        }
    }
    ~SessionBusLockWatch() override {
        dbus_connection_close(_bus);
        dbus_connection_unref(_bus);
    }

    bool locked(unsigned) override {
        if (_gone) return _active;
        if (!dbus_connection_read_write(_bus, 0)) {
            _gone = true;
            return _active = false;
        }
        while (DBusMessage* message = dbus_connection_pop_message(_bus)) {
            heard(message);
            dbus_message_unref(message);
        }
        return _active;
    }

  private:
    dbus_uint32_t send(DBusMessage* message) {
        dbus_uint32_t serial = 0;
        if (!message) return 0;
        if (!dbus_connection_send(_bus, message, &serial)) serial = 0;
        dbus_message_unref(message);
        return serial;
    }
    void heard(DBusMessage* message) {
        bool active = false;
        if (dbus_message_is_signal(message, DBUS_INTERFACE_DBUS, "NameOwnerChanged")) {
            const char *name = nullptr, *before = nullptr, *after = nullptr;
            if (dbus_message_get_args(message, nullptr, DBUS_TYPE_STRING, &name, DBUS_TYPE_STRING, &before,
                                      DBUS_TYPE_STRING, &after, DBUS_TYPE_INVALID) &&
                !*after && _speaker == name)
                tell(false, "");
            return;
        }
        if (dbus_message_get_type(message) == DBUS_MESSAGE_TYPE_SIGNAL) {
            const char* interface = dbus_message_get_interface(message);
            if (interface && endsWith(interface, ".ScreenSaver") && firstBool(message, active))
                tell(active, dbus_message_get_sender(message));
            return;
        }
        if (dbus_message_get_type(message) != DBUS_MESSAGE_TYPE_METHOD_RETURN) return;
        const dbus_uint32_t answering = dbus_message_get_reply_serial(message);
        for (dbus_uint32_t& asked : _asked)
            if (asked && asked == answering) {
                asked = 0;
                // Any service saying so is enough.
                if (firstBool(message, active) && active) tell(true, dbus_message_get_sender(message));
            }
    }
    // What the screensaver said, and who said it, to hear if it leaves the bus.
    void tell(bool active, const char* speaker) {
        _active = active;
        _speaker = speaker ? speaker : "";
    }

    DBusConnection* _bus;
    dbus_uint32_t _asked[std::size(kServices)] = {};
    bool _active = false;
    std::string _speaker;
    bool _gone = false;
};

} // namespace

std::unique_ptr<ScreenLockWatch> sessionBus() {
    const std::string address = sessionAddress();
    if (address.empty()) return nullptr;
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* bus = dbus_connection_open_private(address.c_str(), &error);
    dbus_error_free(&error);
    if (!bus) return nullptr;
    dbus_connection_set_exit_on_disconnect(bus, FALSE);
    return std::make_unique<SessionBusLockWatch>(bus);
}

} // namespace cocos2d::lockwatch

#endif
