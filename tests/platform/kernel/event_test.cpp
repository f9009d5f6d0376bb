// Events: names shared between handles, the three actions, waits from a second
// thread, and the handset's watchers.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <future>
#include <vector>

#include "platform/handset/module.h"
#include "platform/kernel/events.h"
#include "support/fresh_handset.h"

namespace {

class Events : public testsupport::FreshHandset {
 protected:
  static bool Signalled(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }
  // Waits on another thread; `timeout` stays finite so a fault fails instead of hanging.
  static std::future<DWORD> WaitElsewhere(HANDLE event, DWORD timeout = 10000) {
    return std::async(std::launch::async, [=] { return WaitForSingleObject(event, timeout); });
  }
};

TEST_F(Events, NamedEventIsSharedAndLivesWhileAHandleIsOpen) {
  HANDLE first = CreateEventW(nullptr, TRUE, FALSE, u"SensorStart");
  EXPECT_EQ(GetLastError(), 0U);
  // The second call's kind and state are ignored: it opens the same event.
  HANDLE second = CreateEventW(nullptr, FALSE, TRUE, u"SensorStart");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_NE(second, first);
  // Set through one handle, seen through the other; manual reset: waits leave it set.
  EXPECT_EQ(
      (std::vector<bool>{Signalled(second), SetEvent(first) != FALSE, Signalled(second),
                         handset::NamedEventSignalled(u"SensorStart"), ResetEvent(second) != FALSE, Signalled(first)}),
      (std::vector<bool>{false, true, true, true, true, false}));

  // Names are case-sensitive, as Windows' object names are.
  HANDLE other = CreateEventW(nullptr, TRUE, TRUE, u"sensorstart");
  EXPECT_EQ(GetLastError(), 0U);
  EXPECT_FALSE(Signalled(first));
  EXPECT_TRUE(Signalled(other));

  EXPECT_EQ((std::vector<bool>{CloseHandle(first) != FALSE, handset::NamedEventExists(u"SensorStart"),
                               CloseHandle(second) != FALSE, handset::NamedEventExists(u"SensorStart")}),
            (std::vector<bool>{true, true, true, false}));
  EXPECT_TRUE(Signalled(CreateEventW(nullptr, TRUE, TRUE, u"SensorStart")));
  EXPECT_EQ(GetLastError(), 0U);
}

TEST_F(Events, UnnamedEventsArePrivateAndAutoResetOnesWakeOneWait) {
  HANDLE a = CreateEventW(nullptr, FALSE, TRUE, nullptr);
  HANDLE b = CreateEventW(nullptr, TRUE, FALSE, u"");
  EXPECT_EQ(GetLastError(), 0U);
  EXPECT_FALSE(Signalled(b));
  EXPECT_FALSE(handset::NamedEventExists(u""));
  // Two sets do not make two signals.
  EXPECT_EQ((std::vector<bool>{Signalled(a), Signalled(a), SetEvent(a) != FALSE, SetEvent(a) != FALSE, Signalled(a),
                               Signalled(a)}),
            (std::vector<bool>{true, false, true, true, true, false}));
  // A pulse with nobody waiting leaves either kind reset.
  for (HANDLE event : {a, b}) {
    EXPECT_EQ((std::vector<bool>{SetEvent(event) != FALSE, PulseEvent(event) != FALSE, Signalled(event)}),
              (std::vector<bool>{true, true, false}));
  }
}

// A set stays until a waiter takes it, however late it waits; a pulse releases only who
// waits already, so it is repeated until the waiter is there.
TEST_F(Events, SetAndPulseReleaseAThreadThatWaits) {
  HANDLE ready = CreateEventW(nullptr, FALSE, FALSE, u"Ready");
  EXPECT_EQ(WaitForSingleObject(ready, 30), WAIT_TIMEOUT);
  std::future<DWORD> waiter = WaitElsewhere(ready, INFINITE);
  EXPECT_EQ(waiter.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
  EXPECT_TRUE(SetEvent(ready));
  EXPECT_EQ(waiter.get(), WAIT_OBJECT_0);
  EXPECT_FALSE(Signalled(ready));  // the waiter took the auto-reset signal

  for (const BOOL manual : {TRUE, FALSE}) {
    HANDLE event = CreateEventW(nullptr, manual, FALSE, nullptr);
    std::future<DWORD> pulsed = WaitElsewhere(event);
    for (int i = 0; i < 500 && pulsed.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready; ++i) {
      EXPECT_TRUE(PulseEvent(event));
    }
    EXPECT_EQ(pulsed.get(), WAIT_OBJECT_0) << manual;
    EXPECT_FALSE(Signalled(event));
  }
}

TEST_F(Events, WatchersHearEveryActionOnTheirName) {
  std::vector<DWORD> heard;
  HANDLE reply = CreateEventW(nullptr, TRUE, FALSE, u"SensorReady");
  // A device service answers the program's start event with an event of its own.
  handset::WatchEvent(u"SensorStart", [&](DWORD action) {
    heard.push_back(action);
    if (action == EVENT_SET) {
      EXPECT_TRUE(SetEvent(reply));
    }
  });
  HANDLE start = CreateEventW(nullptr, FALSE, FALSE, u"SensorStart");
  EXPECT_EQ((std::vector<BOOL>{SetEvent(start), ResetEvent(start), PulseEvent(start),
                               SetEvent(CreateEventW(nullptr, FALSE, FALSE, u"Other")), EventModify(start, 7)}),
            (std::vector<BOOL>{TRUE, TRUE, TRUE, TRUE, FALSE}));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(heard, (std::vector<DWORD>{EVENT_SET, EVENT_RESET, EVENT_PULSE}));
  EXPECT_TRUE(handset::NamedEventSignalled(u"SensorReady"));
}

TEST_F(Events, HandlesThatAreNotOpenEventsFail) {
  HANDLE closed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(CloseHandle(closed));
  HLOCAL memory = LocalAlloc(LPTR, 4);
  HINSTANCE program = handset::AddProgramModule(u"Vireta.exe", {});
  for (HANDLE handle :
       {closed, static_cast<HANDLE>(nullptr), static_cast<HANDLE>(memory), static_cast<HANDLE>(program)}) {
    SetLastError(0);
    EXPECT_EQ((std::vector<DWORD>{static_cast<DWORD>(CloseHandle(handle)), static_cast<DWORD>(SetEvent(handle)),
                                  WaitForSingleObject(handle, 0), GetLastError()}),
              (std::vector<DWORD>{FALSE, FALSE, WAIT_FAILED, ERROR_INVALID_HANDLE}));
  }
  LocalFree(memory);
}

}  // namespace
