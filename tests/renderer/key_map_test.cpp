// X key symbols to the virtual-key codes the window logic keeps state for.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "renderer/platform/x11/key_map.h"

namespace {

TEST(KeyMap, GivesWindowsVirtualKeyCodes) {
  const struct {
    unsigned long keysym;
    std::uintptr_t vk;
  } cases[] = {
      {XK_Escape, 27},   {XK_a, 'A'},         {XK_z, 'Z'},          {XK_Q, 'Q'},         {XK_0, '0'},
      {XK_9, '9'},       {XK_F1, 0x70},       {XK_F12, 0x7B},       {XK_F24, 0x87},      {XK_KP_0, 0x60},
      {XK_KP_9, 0x69},   {XK_space, 0x20},    {XK_Return, 0x0D},    {XK_KP_Enter, 0x0D}, {XK_Shift_R, 0x10},
      {XK_Control_L, 0x11}, {XK_Alt_L, 0x12}, {XK_Left, 0x25},      {XK_KP_Up, 0x26},    {XK_Delete, 0x2E},
      {XK_Super_L, 0x5B}, {XK_KP_Divide, 0x6F}, {XK_semicolon, 0xBA}, {XK_apostrophe, 0xDE},
  };
  for (const auto& c : cases) EXPECT_EQ(renderer::VirtualKeyOf(c.keysym, 9), c.vk) << std::hex << c.keysym;
}

TEST(KeyMap, KeysWithoutACodeLieAboveTheKeyTable) {
  for (unsigned long keysym : {0x1008FF11ul /* volume down */, 0ul /* no symbol */, 0x6a9ul /* Cyrillic */}) {
    EXPECT_GT(renderer::VirtualKeyOf(keysym, 122), 255u) << std::hex << keysym;
  }
}

}  // namespace
