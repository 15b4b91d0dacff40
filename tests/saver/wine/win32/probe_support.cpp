#include "tests/saver/wine/win32/probe_support.h"

#include <cstdio>
#include <fstream>
#include <memory>

#include "saver/toolkit/win32/surface.h"

namespace probe {

void Print(const std::string& key, const std::string& value) {
  const std::string line = key + "=" + value + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

void Print(const std::string& key, long long value) { Print(key, std::to_string(value)); }

std::string Hex(std::uint32_t rgb) {
  char text[16];
  std::snprintf(text, sizeof(text), "%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
  return text;
}

Pixels CaptureDc(HDC source, int width, int height) {
  Pixels pixels;
  if (width <= 0 || height <= 0) return pixels;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(source);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
  GdiFlush();
  pixels.width = width;
  pixels.height = height;
  const auto* words = static_cast<const std::uint32_t*>(bits);
  pixels.data.assign(words, words + static_cast<size_t>(width) * height);
  for (auto& p : pixels.data) p &= 0xFFFFFF;
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return pixels;
}

Pixels CaptureWindow(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  Pixels pixels = CaptureDc(dc, client.right, client.bottom);
  ReleaseDC(window, dc);
  return pixels;
}

Pixels CaptureSurface(toolkit::Surface& surface) {
  auto& own = dynamic_cast<toolkit::win32::Win32Surface&>(surface);
  return CaptureDc(own.Dc(), own.PixelSize().width, own.PixelSize().height);
}

bool WritePpm(const std::string& path, const Pixels& pixels) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << pixels.width << " " << pixels.height << "\n255\n";
  for (std::uint32_t p : pixels.data) {
    const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
    out.write(rgb, 3);
  }
  return static_cast<bool>(out);
}

namespace {

void Put16(std::vector<unsigned char>& out, unsigned v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}

void Put32(std::vector<unsigned char>& out, unsigned v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<unsigned char> MakeBmp(int bitCount, int width, int height, unsigned compression,
                                   const std::vector<std::uint32_t>& palette,
                                   const std::vector<unsigned char>& bits) {
  std::vector<unsigned char> file{'B', 'M'};
  const auto offset = static_cast<unsigned>(54 + palette.size() * 4);
  for (unsigned v : {offset + static_cast<unsigned>(bits.size()), 0u, offset, 40u,
                     static_cast<unsigned>(width), static_cast<unsigned>(height)})
    Put32(file, v);
  Put16(file, 1);
  Put16(file, static_cast<unsigned>(bitCount));
  for (unsigned v : {compression, static_cast<unsigned>(bits.size()), 2835u, 2835u,
                     static_cast<unsigned>(palette.size()), 0u})
    Put32(file, v);
  for (std::uint32_t colour : palette) Put32(file, colour);
  file.insert(file.end(), bits.begin(), bits.end());
  return file;
}

std::vector<unsigned char> MakeIconFile(bool cursor, int hotX, int hotY, std::uint32_t rgb) {
  std::vector<unsigned char> image;
  for (unsigned v : {40u, 32u, 64u}) Put32(image, v);  // the height counts colour and mask
  Put16(image, 1);
  Put16(image, 32);
  for (int i = 0; i < 6; ++i) Put32(image, 0);
  for (int i = 0; i < 32 * 32; ++i) Put32(image, rgb | 0xFF000000u);
  image.resize(image.size() + 32 * 4, 0);  // mask: all shown
  std::vector<unsigned char> file;
  for (unsigned v : {0u, cursor ? 2u : 1u, 1u}) Put16(file, v);
  file.insert(file.end(), {32, 32, 0, 0});
  Put16(file, cursor ? static_cast<unsigned>(hotX) : 1);
  Put16(file, cursor ? static_cast<unsigned>(hotY) : 32);
  Put32(file, static_cast<unsigned>(image.size()));
  Put32(file, 22);
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void MoveMouse(POINT screen) {
  // Placed exactly, then a move of nothing that the windows hear of.
  SetCursorPos(screen.x, screen.y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof(input));
}

void MouseButton(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

void PressKey(WORD key, bool shift) {
  std::vector<INPUT> inputs;
  auto add = [&](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (shift) add(VK_SHIFT, false);
  add(key, false);
  add(key, true);
  if (shift) add(VK_SHIFT, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void RunSteps(toolkit::Form& form, int everyMs, std::vector<std::function<void()>> steps) {
  auto queue = std::make_shared<std::vector<std::function<void()>>>(std::move(steps));
  auto next = std::make_shared<size_t>(0);
  form.AddTimer(everyMs, true, [&form, queue, next] {
    if (*next < queue->size()) {
      (*queue)[(*next)++]();
    } else {
      form.Unload();
    }
  });
}

}  // namespace probe
