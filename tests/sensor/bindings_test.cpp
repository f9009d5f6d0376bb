// The sensor's bindings and the service handshake against stand-in modules: the calls
// and their arguments, and how many boxes; the boxes' texts and owners, a missing entry
// point and the navigation control's calls are in the game runs' traces.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "core/game_state.h"
#include "platform/handset/handset.h"
#include "platform/kernel/events.h"
#include "platform/kernel/modules.h"
#include "platform/window/message_boxes.h"
#include "platform/window/window_state.h"
#include "sensor/service_client.h"
#include "sensor/tilt_sensor.h"
#include "support/sensor_bindings.h"

namespace {

// What the stand-in libraries were asked, in order.
std::vector<std::string>* calls = nullptr;
HANDLE openResult = nullptr;
TiltSample written{};

void Called(std::string what) { calls->push_back(std::move(what)); }

HANDLE FakeOpen(DWORD sensor) {
  Called("open " + std::to_string(sensor));
  return openResult;
}
DWORD FakeClose(HANDLE handle) {
  Called("close " + std::to_string(reinterpret_cast<std::uintptr_t>(handle)));
  return 0;
}
DWORD FakeRead(HANDLE handle, TiltSample* sample) {
  Called("read " + std::to_string(reinterpret_cast<std::uintptr_t>(handle)));
  *sample = written;
  return 0;
}
HRESULT FakeNotify(HKEY root, LPCWSTR subKey, LPCWSTR valueName, HWND, UINT message, DWORD userData,
                   NOTIFICATIONCONDITION* condition, HREGNOTIFY* notify) {
  Called("notify " + std::to_string(reinterpret_cast<std::uintptr_t>(root)) + " " +
         std::string(subKey, subKey + std::char_traits<char16_t>::length(subKey)) + " " +
         std::string(valueName, valueName + std::char_traits<char16_t>::length(valueName)) + " " +
         std::to_string(message) + " " + std::to_string(userData) + (condition == nullptr ? " null" : " condition") +
         (notify == &notifyHandle ? " &notifyHandle" : " elsewhere"));
  *notify = reinterpret_cast<HREGNOTIFY>(static_cast<std::uintptr_t>(0x5151));
  return S_OK;
}
HRESULT FakeCloseNotification(HREGNOTIFY notify) {
  Called("close notification " + std::to_string(reinterpret_cast<std::uintptr_t>(notify)));
  return S_OK;
}

template <typename F>
FARPROC Entry(F function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

class Bindings : public ::testing::Test {
 protected:
  void SetUp() override {
    handset::Reset();
    calls = &called;
    openResult = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x77));
    written = TiltSample{};
    testsupport::ResetSensorBindings();
    handset::Windows().hooks.boxOpened = [this](HWND, const std::u16string&, const std::u16string&, UINT) { ++boxes; };
    handset::Windows().hooks.idle = [] { return handset::AnswerTopmostBox(); };
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = u"MAIN";
    RegisterClassW(&windowClass);
    window = CreateWindowExW(0, u"MAIN", u"Main", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    calls = nullptr;
    handset::Reset();
  }
  static void SensorLibrary() {
    handset::AddBuiltinModule(u"HTCSensorSDK.dll", {{"HTCSensorOpen", Entry(FakeOpen)},
                                                    {"HTCSensorClose", Entry(FakeClose)},
                                                    {"HTCSensorGetDataOutput", Entry(FakeRead)}});
  }
  static void Shell() {
    handset::AddBuiltinModule(u"aygshell.dll", {{"RegistryNotifyWindow", Entry(FakeNotify)},
                                                {"RegistryCloseNotification", Entry(FakeCloseNotification)}});
  }
  // The service: it holds its event from before the program starts.
  static HANDLE Service() { return CreateEventW(nullptr, TRUE, FALSE, u"HTC_GSENSOR_SERVICESTART"); }

  std::vector<std::string> called;
  int boxes = 0;
  HWND window = nullptr;
};

TEST_F(Bindings, TiltSensorOpensOnceReadsIntoTheOneRecordAndClosesWithTheSameHandle) {
  SensorLibrary();
  openResult = nullptr;  // a handle of 0 is not a failure
  ASSERT_EQ(OpenTiltSensor(), 1);
  EXPECT_EQ(boxes, 0);
  written.throttleAngle = 30;
  written.steerAngle = 350;
  TiltStep();
  EXPECT_EQ(tiltSample.throttleAngle, 30U);
  EXPECT_EQ(tiltSample.steerAngle, 350U);
  CloseTiltSensor();
  TiltStep();  // closed: nothing is read
  CloseTiltSensor();
  EXPECT_EQ(called, (std::vector<std::string>{"open 1", "read 0", "close 0"}));
}

TEST_F(Bindings, ServiceStartSetsTheEventAndRegistersStopSetsItAgainAndCloses) {
  Shell();
  HANDLE service = Service();
  int sets = 0;
  handset::WatchEvent(u"HTC_GSENSOR_SERVICESTART", [&sets](DWORD action) { sets += action == EVENT_SET ? 1 : 0; });
  ASSERT_EQ(StartSensorService(window), 1);
  EXPECT_EQ(sets, 1);
  EXPECT_EQ(called, (std::vector<std::string>{"notify 2147483650 Software\\HTC\\HTCSensor\\GSensor EventChanged "
                                              "1025 1 null &notifyHandle"}));
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(notifyHandle), 0x5151U);
  ASSERT_EQ(StopSensorService(), 1);
  EXPECT_EQ(sets, 2);
  EXPECT_EQ(called.back(), "close notification 20817");
  EXPECT_EQ(boxes, 0);
  CloseHandle(service);
}

TEST_F(Bindings, ServiceFailuresAndAMissingShell) {
  // No service: the start's own event is closed again (the box is in the game runs).
  ASSERT_EQ(StartSensorService(window), 0);
  ASSERT_EQ(boxes, 1);
  EXPECT_FALSE(handset::NamedEventExists(u"HTC_GSENSOR_SERVICESTART"));

  // The service without a shell library: no box, nothing registered; the stop tries the
  // library again and closes the registration it never had.
  HANDLE service = Service();
  ASSERT_EQ(StartSensorService(window), 1);
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(notifyHandle, nullptr);
  Shell();
  ASSERT_EQ(StopSensorService(), 1);
  EXPECT_EQ(called, (std::vector<std::string>{"close notification 0"}));

  // The event gone by shutdown: a box, the registration left open.
  CloseHandle(service);
  called.clear();
  ASSERT_EQ(StopSensorService(), 0);
  EXPECT_EQ(boxes, 2);
  EXPECT_TRUE(called.empty());
}

}  // namespace
