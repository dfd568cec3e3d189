// The session's word on its lock, on a session bus of the test's own: a desktop's screensaver
// saying it came on or went off (the freedesktop service's signal, GNOME's) or leaving the bus
// while on, and one already on when the game starts answering the question the game asks then.
#include "platform/desktop/seams/ScreenLockWatchParts.h"
#include "tests/support/VirtualDisplay.h"

#include <dbus/dbus.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

class SessionLock : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v dbus-daemon >/dev/null") != 0) GTEST_SKIP() << "needs dbus-daemon";
        int ready[2];
        ASSERT_EQ(0, pipe(ready));
        daemon = xtest::spawn({"dbus-daemon", "--session", "--nofork", "--nopidfile",
                               "--print-address=" + std::to_string(ready[1])});
        close(ready[1]);
        char line[512] = {};
        const ssize_t got = read(ready[0], line, sizeof line - 1);
        close(ready[0]);
        ASSERT_GT(got, 0) << "dbus-daemon did not start";
        const std::string address(line, std::strcspn(line, "\n"));
        setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
        // A desktop's screensaver service, played by the test.
        DBusError error;
        dbus_error_init(&error);
        service = dbus_connection_open_private(address.c_str(), &error);
        ASSERT_TRUE(service && dbus_bus_register(service, &error)) << error.message;
        ASSERT_EQ(DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER,
                  dbus_bus_request_name(service, "org.freedesktop.ScreenSaver", 0, &error));
    }
    void TearDown() override {
        watch.reset();
        leave();
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        xtest::stop(daemon);
    }
    void leave() {
        if (!service) return;
        dbus_connection_close(service);
        dbus_connection_unref(service);
        service = nullptr;
    }
    // Answers the questions asked of the service so far: the screensaver is `on`.
    void answer(bool on) {
        dbus_connection_read_write(service, 0);
        while (DBusMessage* asked = dbus_connection_pop_message(service)) {
            if (dbus_message_is_method_call(asked, "org.freedesktop.ScreenSaver", "GetActive")) {
                DBusMessage* answer = dbus_message_new_method_return(asked);
                const dbus_bool_t value = on;
                dbus_message_append_args(answer, DBUS_TYPE_BOOLEAN, &value, DBUS_TYPE_INVALID);
                dbus_connection_send(service, answer, nullptr);
                dbus_message_unref(answer);
                ++answered;
            }
            dbus_message_unref(asked);
        }
        dbus_connection_flush(service);
    }
    // Whether the watch says `locked` within 30 s, while `meanwhile` goes on.
    bool sees(bool locked, const std::function<void()>& meanwhile) {
        for (const auto end = Clock::now() + std::chrono::seconds(30); Clock::now() < end;
             std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
            meanwhile();
            if (watch->locked(0) == locked) return true;
        }
        return false;
    }
    // Says `active` as `interface`'s screensaver until the watch agrees (its wish to hear may
    // reach the bus after the first word).
    bool told(const std::string& interface, bool active) {
        std::string path = "/" + interface;
        for (char& c : path)
            if (c == '.') c = '/';
        int said = 0;
        return sees(active, [&] {
            if (said++ % 20) return;
            DBusMessage* signal = dbus_message_new_signal(path.c_str(), interface.c_str(), "ActiveChanged");
            const dbus_bool_t value = active;
            dbus_message_append_args(signal, DBUS_TYPE_BOOLEAN, &value, DBUS_TYPE_INVALID);
            dbus_connection_send(service, signal, nullptr);
            dbus_connection_flush(service);
            dbus_message_unref(signal);
        });
    }

    pid_t daemon = 0;
    DBusConnection* service = nullptr;
    int answered = 0;
    std::unique_ptr<cocos2d::ScreenLockWatch> watch;
};

} // namespace

TEST_F(SessionLock, TheDesktopsScreensaverSignalLocksAndUnlocks) {
    watch = cocos2d::lockwatch::sessionBus();
    ASSERT_TRUE(watch) << "no watch on the session bus";
    EXPECT_FALSE(watch->locked(0));
    EXPECT_TRUE(told("org.freedesktop.ScreenSaver", true)) << "locked by the freedesktop service";
    EXPECT_TRUE(told("org.freedesktop.ScreenSaver", false)) << "unlocked";
    EXPECT_TRUE(told("org.gnome.ScreenSaver", true)) << "locked by GNOME's";
    // The screensaver stopping while on leaves the game free to play.
    leave();
    EXPECT_TRUE(sees(false, [] {})) << "still locked after the screensaver left the bus";
}

TEST_F(SessionLock, AScreenAlreadyLockedAtTheStartIsAsked) {
    watch = cocos2d::lockwatch::sessionBus();
    ASSERT_TRUE(watch);
    EXPECT_TRUE(sees(true, [&] { answer(true); })) << "questions answered: " << answered;
}
