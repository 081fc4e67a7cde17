#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/backend/sdl/SdlBackend.h"

namespace vcl {
namespace {

TEST(SdlKeys, KeycodesBecomeTheirVirtualKeys) {
    struct Case {
        int32_t sdl;
        uint16_t vk;
    };
    const Case cases[] = {
        {SDLK_a, 'A'},          {SDLK_z, 'Z'},           {SDLK_0, '0'},          {SDLK_9, '9'},
        {SDLK_F1, VK_F1},       {SDLK_F10, VK_F10},      {SDLK_F12, VK_F12},     {SDLK_RETURN, VK_RETURN},
        {SDLK_KP_ENTER, VK_RETURN}, {SDLK_TAB, VK_TAB},  {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_BACKSPACE, VK_BACK},
        {SDLK_LSHIFT, VK_SHIFT}, {SDLK_RCTRL, VK_CONTROL}, {SDLK_LALT, VK_MENU},  {SDLK_APPLICATION, VK_APPS},
        {SDLK_KP_0, VK_NUMPAD0}, {SDLK_KP_5, VK_NUMPAD0 + 5}, {SDLK_PAGEDOWN, VK_NEXT}, {SDLK_DELETE, VK_DELETE},
        {SDLK_MINUS, VK_OEM_MINUS}, {SDLK_PERIOD, VK_OEM_PERIOD}, {SDLK_UNKNOWN, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(TSdlBackend::VirtualKeyOf(c.sdl), c.vk) << c.sdl;
}

}  // namespace
}  // namespace vcl
