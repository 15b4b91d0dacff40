#pragma once
// The backend's own window classes. Each window belongs to one C++ object
// that receives its messages; the object is attached when the window is
// being created and detached when it is gone.
#include "saver/toolkit/win32/windows_api.h"

namespace toolkit::win32 {

class MessageTarget {
 public:
  virtual ~MessageTarget() = default;
  // First message of the window (WM_NCCREATE): the handle is known from here on.
  virtual void Attach(HWND window) = 0;
  virtual LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // After WM_NCDESTROY: the handle is no longer valid.
  virtual void Detach() = 0;
};

enum class WindowKind { Form, PictureBox, UserControl };

// Registers the class on first use; the class name of a kind.
const wchar_t* OwnWindowClass(WindowKind kind);

// CreateWindowExW of one of the own classes, with `target` attached.
HWND CreateOwnWindow(WindowKind kind, MessageTarget& target, DWORD exStyle, const wchar_t* title,
                     DWORD style, int x, int y, int width, int height, HWND parent);

}  // namespace toolkit::win32
