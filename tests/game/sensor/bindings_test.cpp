// The sensor's bindings and the service handshake against stand-in modules: a handle of
// 0, closing twice and the service's failures; the handshake that works is the device
// tests', the boxes' texts and owners and the navigation control's calls the game runs'.
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
#include "support/fresh_handset.h"
#include "support/sensor_bindings.h"
#include "support/test_windows.h"

namespace {

// What the stand-in libraries were asked, in order.
std::vector<std::string> called;
TiltSample written{};

HANDLE FakeOpen(DWORD sensor) {
  called.push_back("open " + std::to_string(sensor));
  return nullptr;  // a handle of 0 is not a failure
}
DWORD FakeClose(HANDLE handle) {
  called.push_back("close " + std::to_string(reinterpret_cast<std::uintptr_t>(handle)));
  return 0;
}
DWORD FakeRead(HANDLE handle, TiltSample* sample) {
  called.push_back("read " + std::to_string(reinterpret_cast<std::uintptr_t>(handle)));
  *sample = written;
  return 0;
}
HRESULT FakeCloseNotification(HREGNOTIFY notify) {
  called.push_back("close notification " + std::to_string(reinterpret_cast<std::uintptr_t>(notify)));
  return S_OK;
}

using testsupport::Entry;

class Bindings : public testsupport::FreshHandset {
 protected:
  void SetUp() override {
    called.clear();
    written = TiltSample{};
    testsupport::ResetSensorBindings();
    handset::TheHandset().hooks.boxOpened = [this](HWND, const std::u16string&, const std::u16string&, UINT) {
      ++boxes;
    };
    handset::TheHandset().hooks.idle = [] { return handset::AnswerTopmostBox(); };
    window = testsupport::MakeWindow(DefWindowProcW, u"MAIN", u"Main");
  }
  int boxes = 0;
  HWND window = nullptr;
};

TEST_F(Bindings, TiltSensorOpensOnceReadsIntoTheOneRecordAndClosesWithTheSameHandle) {
  handset::AddBuiltinModule(u"HTCSensorSDK.dll", {{"HTCSensorOpen", Entry(FakeOpen)},
                                                  {"HTCSensorClose", Entry(FakeClose)},
                                                  {"HTCSensorGetDataOutput", Entry(FakeRead)}});
  ASSERT_EQ(OpenTiltSensor(), 1);
  EXPECT_EQ(boxes, 0);
  written.throttleAngle = 30;
  written.steerAngle = 350;
  TiltStep();
  EXPECT_EQ(std::pair(tiltSample.throttleAngle, tiltSample.steerAngle), std::pair(DWORD{30}, DWORD{350}));
  CloseTiltSensor();
  TiltStep();  // closed: nothing is read
  CloseTiltSensor();
  EXPECT_EQ(called, (std::vector<std::string>{"open 1", "read 0", "close 0"}));
}

TEST_F(Bindings, ServiceFailuresAndAMissingShell) {
  // No service: the start's own event is closed again (the box is in the game runs).
  ASSERT_EQ(StartSensorService(window), 0);
  ASSERT_EQ(boxes, 1);
  EXPECT_FALSE(handset::NamedEventExists(u"HTC_GSENSOR_SERVICESTART"));

  // The service without a shell library: no box, nothing registered; the stop tries the
  // library again and closes the registration it never had.
  HANDLE service = CreateEventW(nullptr, TRUE, FALSE, u"HTC_GSENSOR_SERVICESTART");  // before the program starts
  ASSERT_EQ(StartSensorService(window), 1);
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(notifyHandle, nullptr);
  handset::AddBuiltinModule(u"aygshell.dll", {{"RegistryCloseNotification", Entry(FakeCloseNotification)}});
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
