// The session's word on its lock, on a session bus of the test's own: a desktop's screensaver
// saying it came on or went off (the freedesktop service's signal, GNOME's), and one already on
// when the game starts answering the question the game asks then.
#include "ScreenLockWatchParts.h"
#include "VirtualDisplay.h"

#include <dbus/dbus.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

class SessionLock : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v dbus-daemon >/dev/null && command -v dbus-send >/dev/null") != 0)
            GTEST_SKIP() << "needs dbus-daemon and dbus-send";
        int ready[2];
        ASSERT_EQ(0, pipe(ready));
        daemon = xtest::spawn({"dbus-daemon", "--session", "--nofork", "--nopidfile",
                               "--print-address=" + std::to_string(ready[1])});
        close(ready[1]);
        char line[512] = {};
        const ssize_t got = read(ready[0], line, sizeof line - 1);
        close(ready[0]);
        ASSERT_GT(got, 0) << "dbus-daemon did not start";
        address.assign(line, std::strcspn(line, "\n"));
        setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    }
    void TearDown() override {
        watch.reset();
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        xtest::stop(daemon);
    }
    // Says `active` as `service`'s screensaver until the watch agrees (the watch's wish to hear
    // may reach the bus after the first word), for up to 30 s.
    bool told(const std::string& service, bool active) {
        const std::string path = "/" + service;
        std::string slashed = path;
        for (char& c : slashed)
            if (c == '.') c = '/';
        const std::string say = "dbus-send --session --type=signal " + slashed + " " + service +
                                ".ActiveChanged boolean:" + (active ? "true" : "false");
        for (const auto end = Clock::now() + std::chrono::seconds(30); Clock::now() < end;) {
            if (std::system(say.c_str()) != 0) return false;
            for (const auto look = Clock::now() + std::chrono::milliseconds(300); Clock::now() < look;
                 std::this_thread::sleep_for(std::chrono::milliseconds(10)))
                if (watch->locked(0) == active) return true;
        }
        return false;
    }

    pid_t daemon = 0;
    std::string address;
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
    EXPECT_TRUE(told("org.gnome.ScreenSaver", false)) << "unlocked";
}

TEST_F(SessionLock, AScreenAlreadyLockedAtTheStartIsAsked) {
    // A screensaver service of the test's own, already on.
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* service = dbus_connection_open_private(address.c_str(), &error);
    ASSERT_TRUE(service && dbus_bus_register(service, &error)) << error.message;
    ASSERT_EQ(DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER,
              dbus_bus_request_name(service, "org.freedesktop.ScreenSaver", 0, &error));

    watch = cocos2d::lockwatch::sessionBus();
    ASSERT_TRUE(watch);
    bool locked = false;
    int answered = 0;
    for (const auto end = Clock::now() + std::chrono::seconds(30); Clock::now() < end && !locked;
         std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
        dbus_connection_read_write(service, 0);
        while (DBusMessage* asked = dbus_connection_pop_message(service)) {
            if (dbus_message_is_method_call(asked, "org.freedesktop.ScreenSaver", "GetActive")) {
                DBusMessage* answer = dbus_message_new_method_return(asked);
                const dbus_bool_t on = TRUE;
                dbus_message_append_args(answer, DBUS_TYPE_BOOLEAN, &on, DBUS_TYPE_INVALID);
                dbus_connection_send(service, answer, nullptr);
                dbus_message_unref(answer);
                ++answered;
            }
            dbus_message_unref(asked);
        }
        dbus_connection_flush(service);
        locked = watch->locked(0);
    }
    EXPECT_TRUE(locked) << "questions answered: " << answered;
    dbus_connection_close(service);
    dbus_connection_unref(service);
}
