// The game's bindings against the real stand-in libraries and the device's sensor
// service: the tilt arrives in the record, every vendor call is reported, the service
// takes its signals and tells the window of orientation changes, and each option takes
// its piece of the phone away.
#include <gtest/gtest.h>
#include <windows.h>

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
#include "support/sensor_bindings.h"

namespace {

template <typename F>
FARPROC Entry(F function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

class Device : public ::testing::Test {
 protected:
  void SetUp() override {
    handset::Reset();
    testsupport::ResetSensorBindings();
    handset::Windows().hooks.boxOpened = [this](HWND, const std::u16string&, const std::u16string& text, UINT) {
      boxes.push_back(text);
    };
    handset::Windows().hooks.idle = [] { return handset::AnswerTopmostBox(); };
    handset::Device().onCall = [this](const handset::DeviceCall& call) {
      std::string line(call.function);
      for (const HandsetCallArg& arg : call.args) {
        line += arg.kind == HANDSET_ARG_WINDOW ? " window" : " " + std::to_string(arg.value);
      }
      calls.push_back(line);
    };
    handset::AddBuiltinModule(u"aygshell.dll", {{"RegistryNotifyWindow", Entry(handset::NotifyWindowOfValue)},
                                                {"RegistryCloseNotification", Entry(handset::CloseValueNotification)}});
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = u"MAIN";
    RegisterClassW(&windowClass);
    window = CreateWindowExW(0, u"MAIN", u"Main", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override { handset::Reset(); }
  void Restart() {
    boxes.clear();
    calls.clear();
    SetUp();
  }

  void Boot(const std::vector<std::string>& args) {
    handset::DeviceOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
      std::string error;
      ASSERT_TRUE(handset::TakeDeviceOption(args, i, options, error)) << args[i];
      ASSERT_EQ(error, "");
    }
    handset::BootDevice(options, VIRETA_MODULE_DIR);
  }
  int NotifyMessages() const {
    int n = 0;
    for (const MSG& m : handset::Windows().posted) {
      n += m.message == SENSOR_NOTIFY_MSG && m.hwnd == window ? 1 : 0;
    }
    return n;
  }

  HWND window = nullptr;
  std::vector<std::u16string> boxes;
  std::vector<std::string> calls;
};

TEST_F(Device, AWholeRunOfTheBindingsOnTheRealLibraries) {
  Boot({});
  ASSERT_EQ(StartSensorService(window), 1);
  EXPECT_TRUE(handset::SensorServiceRunning());
  EXPECT_NE(notifyHandle, nullptr);
  ASSERT_EQ(OpenNavControl(window), 1);
  ASSERT_EQ(OpenTiltSensor(), 1);
  EXPECT_TRUE(boxes.empty());

  handset::SetTilt({25, 340});
  TiltStep();
  EXPECT_EQ(tiltSample.throttleAngle, 25U);
  EXPECT_EQ(tiltSample.steerAngle, 340U);
  // Turning the phone on its side changes the orientation once: one message.
  handset::SetTilt({25, 80});
  handset::SetTilt({25, 85});
  EXPECT_EQ(NotifyMessages(), 1);

  CloseTiltSensor();
  ASSERT_EQ(StopSensorService(), 1);
  EXPECT_FALSE(handset::SensorServiceRunning());
  EXPECT_EQ(handset::SensorServiceSignals(), 2);
  handset::SetTilt({25, 0});  // stopped: no more messages
  EXPECT_EQ(NotifyMessages(), 1);
  ASSERT_GE(calls.size(), 6U);
  EXPECT_EQ(calls[0], "HTCNavOpen window 1");
  EXPECT_EQ(calls[1], "HTCNavSetMode window 4");
  EXPECT_EQ(calls[2], "HTCNavSetMode window 5");
  EXPECT_EQ(calls[3], "HTCSensorOpen 1");
  EXPECT_EQ(calls[4].rfind("HTCSensorGetDataOutput ", 0), 0U);
  EXPECT_EQ(calls[5].rfind("HTCSensorClose ", 0), 0U);
}

TEST_F(Device, TheLibrariesExportWhatTheHandsetListsOfThem) {
  Boot({});
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

TEST_F(Device, EachOptionTakesItsPieceAway) {
  Boot({"--without", "sensor-library", "--without", "nav-library"});
  EXPECT_EQ(OpenTiltSensor(), 0);
  EXPECT_EQ(OpenNavControl(window), 0);
  EXPECT_EQ(boxes, (std::vector<std::u16string>{u"Unable to load Sensor DLL", u"Unable to load HTC API DLL"}));

  Restart();
  Boot({"--lacking", "HTCSensorSDK.dll:HTCSensorGetDataOutput", "--lacking", "htcapi.dll:HTCNavClose"});
  EXPECT_EQ(OpenTiltSensor(), 0);
  EXPECT_EQ(OpenNavControl(window), 0);
  EXPECT_EQ(boxes, (std::vector<std::u16string>{u"Unable to find entry point", u"Unable to find entry point"}));
  EXPECT_TRUE(calls.empty());

  Restart();
  Boot({"--without", "sensor-service"});
  EXPECT_EQ(StartSensorService(window), 0);
  EXPECT_EQ(boxes, (std::vector<std::u16string>{u"Unable to create Sensor Event"}));

  Restart();
  Boot({"--without", "aygshell-notify"});
  EXPECT_EQ(StartSensorService(window), 1);
  EXPECT_EQ(notifyHandle, nullptr);
  EXPECT_TRUE(boxes.empty());

  Restart();
  Boot({"--service-stops-early"});
  EXPECT_EQ(StartSensorService(window), 1);
  EXPECT_EQ(StopSensorService(), 0);
  EXPECT_EQ(boxes, (std::vector<std::u16string>{u"Unable to create Sensor Event"}));
}

TEST(DeviceOptions, BadValuesAreNamed) {
  const std::string kKnown =
      " is no library and function of the handset: HTCSensorSDK.dll:HTCSensorOpen,HTCSensorGetDataOutput,"
      "HTCSensorClose; HTCAPI.dll:HTCNavOpen,HTCNavSetMode,HTCNavClose";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--without"}, "--without needs a value"},
      {{"--without", "wifi"},
       "--without takes sensor-service, sensor-library, nav-library, aygshell-notify or soft-key-bar, not \"wifi\""},
      {{"--lacking", "HTCAPI.dll"}, "--lacking takes DLL:FUNCTION, such as HTCAPI.dll:HTCNavClose, not \"HTCAPI.dll\""},
      {{"--lacking", ":HTCNavClose"},
       "--lacking takes DLL:FUNCTION, such as HTCAPI.dll:HTCNavClose, not \":HTCNavClose\""},
      {{"--lacking", "HTCAPI.dll:"},
       "--lacking takes DLL:FUNCTION, such as HTCAPI.dll:HTCNavClose, not \"HTCAPI.dll:\""},
      {{"--lacking", "HTCAPI.dl:HTCNavOpen"}, "--lacking \"HTCAPI.dl:HTCNavOpen\"" + kKnown},
      {{"--lacking", "HTCAPI.dll:HTCNavOpn"}, "--lacking \"HTCAPI.dll:HTCNavOpn\"" + kKnown},
      {{"--lacking", "HTCAPI.dll:htcnavopen"}, "--lacking \"HTCAPI.dll:htcnavopen\"" + kKnown},
      {{"--lacking", "HTCAPI.dll:HTCSensorOpen"}, "--lacking \"HTCAPI.dll:HTCSensorOpen\"" + kKnown},
  };
  for (const auto& [args, message] : cases) {
    handset::DeviceOptions options;
    std::size_t index = 0;
    std::string error;
    EXPECT_TRUE(handset::TakeDeviceOption(args, index, options, error));
    EXPECT_EQ(error, message);
  }
  handset::DeviceOptions options;
  std::size_t index = 0;
  std::string error;
  EXPECT_FALSE(handset::TakeDeviceOption({"--script"}, index, options, error));
}

}  // namespace
