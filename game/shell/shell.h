// The device shell: the program's entry, its one window and the About box.
#pragma once

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine, int showCommand);

// TRUE when the window is up and shown; FALSE when the program is to end.
BOOL StartInstance(HINSTANCE instance, int showCommand);

// The class atom, 0 on failure.
ATOM RegisterMainClass(HINSTANCE instance, LPCWSTR className);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
