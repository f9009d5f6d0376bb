#include "files.h"

#include <windows.h>

#include <memory>

#include "settings.h"

namespace sensor_dll {

namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

FileHandle Opened(HANDLE handle) { return FileHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle); }

std::string Why(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD size =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring why = size > 0 && text != nullptr ? std::wstring(text, size) : L"error " + std::to_wstring(code);
  LocalFree(text);
  while (!why.empty() && (why.back() == L'\n' || why.back() == L'\r' || why.back() == L'.')) {
    why.pop_back();
  }
  return Utf8(why);
}

std::wstring Joined(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) {
    return name;
  }
  const wchar_t last = folder.back();
  return last == L'\\' || last == L'/' ? folder + name : folder + L"\\" + name;
}

}  // namespace

bool ReadWhole(const std::wstring& file, std::size_t most, std::string& bytes, std::string& error) {
  const FileHandle in = Opened(
      CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!in) {
    error = Utf8(file) + ": cannot read: " + Why(GetLastError());
    return false;
  }
  bytes.clear();
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (ReadFile(in.get(), buffer, sizeof buffer, &got, nullptr) == FALSE) {
      error = Utf8(file) + ": cannot read: " + Why(GetLastError());
      return false;
    }
    if (got == 0) {
      return true;
    }
    bytes.append(buffer, got);
    if (bytes.size() > most) {
      bytes.resize(most + 1);
      return true;
    }
  }
}

bool IsFolder(const std::wstring& folder) {
  const DWORD attributes = GetFileAttributesW(folder.empty() ? L"." : folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WriteInto(const std::wstring& folder, const std::wstring& name, const std::string& bytes, std::string& error) {
  const std::wstring target = Joined(folder, name);
  const std::wstring temporary = Joined(folder, L"." + name + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp");
  {
    // CREATE_NEW fails on anything already there, a link included.
    FileHandle out =
        Opened(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
      error = Utf8(target) + ": cannot write: " + Why(GetLastError());
      return false;
    }
    DWORD written = 0;
    if (WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) == FALSE ||
        written != bytes.size()) {
      error = Utf8(target) + ": cannot write: " + Why(GetLastError());
      out.reset();
      DeleteFileW(temporary.c_str());
      return false;
    }
  }
  if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) == FALSE) {
    error = Utf8(target) + ": cannot put in place: " + Why(GetLastError());
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace sensor_dll
