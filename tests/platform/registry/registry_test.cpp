// The registry as the sensor service and the shell use it: values kept by key and name
// without regard to case, and a window told of each real change until it stops asking.
#include <gtest/gtest.h>
#include <windows.h>

#include <tuple>
#include <vector>

#include "platform/registry/registry_state.h"
#include "platform/window/window_state.h"
#include "support/fresh_handset.h"
#include "support/test_windows.h"

namespace {

constexpr WCHAR kKey[] = u"Software\\HTC\\HTCSensor\\GSensor";

class RegistryTest : public testsupport::FreshHandset {
 protected:
  static LONG SetNumber(HKEY key, LPCWSTR name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }
  using Message = std::tuple<HWND, UINT, WPARAM, LPARAM>;
  static std::vector<Message> Posted() {
    std::vector<Message> posted;
    for (const MSG& m : handset::Windows().posted) {
      posted.emplace_back(m.hwnd, m.message, m.wParam, m.lParam);
    }
    return posted;
  }
};

TEST_F(RegistryTest, ValuesLiveUnderTheirKeyWhateverTheCase) {
  HKEY missing = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE, &missing), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(missing, nullptr);

  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, 1U);
  SetNumber(key, u"EventChanged", 7);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);

  // Parents exist; case and doubled separators do not matter.
  HKEY parent = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"software\\htc", 0, 0, &parent), ERROR_SUCCESS);
  HKEY again = nullptr;
  ASSERT_EQ(RegOpenKeyExW(parent, u"HTCSENSOR\\\\gsensor\\", 0, 0, &again), ERROR_SUCCESS);
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  ASSERT_EQ(RegQueryValueExW(again, u"eventchanged", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::make_tuple(type, value, size), std::make_tuple(REG_DWORD, 7U, 4U));
  // Too small a buffer says how much is needed and writes nothing.
  BYTE small[2] = {0xAA, 0xAA};
  size = sizeof small;
  EXPECT_EQ(RegQueryValueExW(again, u"EventChanged", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(std::make_tuple(size, small[0], small[1]), std::make_tuple(4U, 0xAA, 0xAA));
  EXPECT_EQ(RegQueryValueExW(again, u"Other", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExW(nullptr, u"EventChanged", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegSetValueExW(again, u"Bad", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, RegisteredWindowHearsEachRealChangeUntilClosed) {
  HWND window = testsupport::MakeWindow(DefWindowProcW, u"LISTENER", u"");
  HREGNOTIFY notify = nullptr;
  ASSERT_EQ(
      handset::NotifyWindowOfValue(HKEY_LOCAL_MACHINE, kKey, u"EventChanged", window, WM_USER + 1, 1, nullptr, &notify),
      S_OK);
  ASSERT_NE(notify, nullptr);
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, 0, nullptr, &key, nullptr);
  SetNumber(key, u"EventChanged", 1);
  SetNumber(key, u"EventChanged", 1);  // no change, no message
  SetNumber(key, u"Other", 5);         // another value
  SetNumber(key, u"EVENTCHANGED", 2);
  const std::vector<Message> told = {{window, WM_USER + 1, 1, 1}, {window, WM_USER + 1, 1, 2}};
  EXPECT_EQ(Posted(), told);

  ASSERT_EQ(handset::CloseValueNotification(notify), S_OK);
  EXPECT_EQ(handset::CloseValueNotification(notify), E_INVALIDARG);
  SetNumber(key, u"EventChanged", 3);
  EXPECT_EQ(Posted(), told);

  // Bad registrations are refused without a handle.
  HREGNOTIFY refused = nullptr;
  EXPECT_EQ(handset::NotifyWindowOfValue(HKEY_LOCAL_MACHINE, kKey, u"EventChanged", nullptr, 1, 0, nullptr, &refused),
            E_INVALIDARG);
  EXPECT_EQ(handset::NotifyWindowOfValue(nullptr, kKey, u"EventChanged", window, 1, 0, nullptr, &refused),
            E_INVALIDARG);
  EXPECT_EQ(refused, nullptr);
}

}  // namespace
