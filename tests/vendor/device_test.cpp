// The game's bindings against the real stand-in libraries and the device's sensor
// service: the tilt arrives in the record, every vendor call is reported, the service
// takes its signals and tells the window of orientation changes; bad options are named.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "platform/device/device.h"
#include "platform/device/device_options.h"
#include "platform/device/sensor_service.h"
#include "platform/handset/handset.h"
#include "platform/kernel/modules.h"
#include "platform/registry/registry_state.h"
#include "platform/window/message_boxes.h"
#include "platform/window/window_state.h"
#include "sensor/nav_control.h"
#include "sensor/service_client.h"
#include "sensor/tilt_sensor.h"
#include "support/fresh_handset.h"
#include "support/message_script.h"
#include "support/sensor_bindings.h"
#include "support/test_windows.h"

namespace {

using testsupport::Call;
using testsupport::Entry;

class Device : public testsupport::FreshHandset {
 protected:
  void SetUp() override {
    testsupport::ResetSensorBindings();
    handset::TheHandset().hooks.deviceCall = [this](std::string_view function, std::span<const HandsetCallArg> args) {
      std::string line(function);
      for (const HandsetCallArg& arg : args) {
        line += arg.kind == HANDSET_ARG_NUMBER   ? " " + std::to_string(arg.value)
                : arg.kind == HANDSET_ARG_WINDOW ? " window"
                                                 : " handle";
      }
      log.Called(line);
    };
    handset::AddBuiltinModule(u"aygshell.dll", {{"RegistryNotifyWindow", Entry(handset::NotifyWindowOfValue)},
                                                {"RegistryCloseNotification", Entry(handset::CloseValueNotification)}});
    window = testsupport::MakeWindow(DefWindowProcW, u"MAIN", u"Main");
  }
  static void Boot() { handset::BootDevice(handset::DeviceOptions{}, VIRETA_MODULE_DIR); }
  long NotifyMessages() const {
    const auto& posted = handset::Windows().posted;
    return std::count_if(posted.begin(), posted.end(),
                         [this](const MSG& m) { return m.message == SENSOR_NOTIFY_MSG && m.hwnd == window; });
  }

  HWND window = nullptr;
  testsupport::MessageLog log;
};

TEST_F(Device, AWholeRunOfTheBindingsOnTheRealLibraries) {
  Boot();
  ASSERT_EQ(StartSensorService(window), 1);
  EXPECT_TRUE(handset::SensorServiceRunning());
  EXPECT_NE(notifyHandle, nullptr);
  ASSERT_EQ(OpenNavControl(window), 1);
  ASSERT_EQ(OpenTiltSensor(), 1);
  handset::SetTilt({25, 340});
  TiltStep();
  EXPECT_EQ(std::pair(tiltSample.throttleAngle, tiltSample.steerAngle), std::pair(DWORD{25}, DWORD{340}));
  // Turning the phone on its side changes the orientation once: one message.
  handset::SetTilt({25, 80});
  handset::SetTilt({25, 85});
  EXPECT_EQ(NotifyMessages(), 1);

  CloseTiltSensor();
  ASSERT_EQ(StopSensorService(), 1);
  EXPECT_EQ(std::pair(handset::SensorServiceRunning(), handset::SensorServiceSignals()), std::pair(false, 2));
  handset::SetTilt({25, 0});  // stopped: no more messages
  EXPECT_EQ(NotifyMessages(), 1);
  EXPECT_TRUE(testsupport::SameSequence(
      "a whole run",
      {Call("HTCNavOpen window 1"), Call("HTCNavSetMode window 4"), Call("HTCNavSetMode window 5"),
       Call("HTCSensorOpen 1"), Call("HTCSensorGetDataOutput handle handle"), Call("HTCSensorClose handle")},
      log.seen));
}

TEST_F(Device, TheLibrariesExportWhatTheHandsetListsOfThem) {
  Boot();
  const auto wide = [](std::string_view text) { return std::u16string(text.begin(), text.end()); };
  for (const handset::VendorLibrary& library : handset::kVendorLibraries) {
    const HMODULE module = LoadLibraryW(wide(library.dll).c_str());
    ASSERT_NE(module, nullptr) << library.dll;
    for (const std::string_view function : library.functions) {
      EXPECT_NE(GetProcAddressW(module, wide(function).c_str()), nullptr) << library.dll << ":" << function;
    }
    FreeLibrary(module);
  }
}

TEST(DeviceOptions, BadValuesAreNamed) {
  const std::string kKnown = " is no library and function of the handset: HTCSensorSDK.dll:HTCSensorOpen,";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--without"}, "--without needs a value"},
      {{"--without", "wifi"}, "--without takes sensor-service, sensor-library, nav-library, aygshell-notify or"},
      {{"--lacking", ":HTCNavClose"},
       "--lacking takes DLL:FUNCTION, such as HTCAPI.dll:HTCNavClose, not \":HTCNavClose\""},
      {{"--lacking", "HTCAPI.dll:"}, "not \"HTCAPI.dll:\""},
      {{"--lacking", "HTCAPI.dl:HTCNavOpen"}, "--lacking \"HTCAPI.dl:HTCNavOpen\"" + kKnown},
      {{"--lacking", "HTCAPI.dll:htcnavopen"}, "--lacking \"HTCAPI.dll:htcnavopen\"" + kKnown},
      {{"--lacking", "HTCAPI.dll:HTCSensorOpen"}, "--lacking \"HTCAPI.dll:HTCSensorOpen\"" + kKnown},
      {{"--script"}, ""},
  };
  for (const auto& [args, message] : cases) {
    handset::DeviceOptions options;
    std::size_t index = 0;
    std::string error;
    // Another part's option is not taken, and not refused.
    EXPECT_EQ(handset::TakeDeviceOption(args, index, options, error), !message.empty()) << args[0];
    EXPECT_NE(error.find(message), std::string::npos) << error;
  }
}

}  // namespace
