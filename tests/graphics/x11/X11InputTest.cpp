// SPDX-License-Identifier: GPL-3.0-or-later
// GoogleTest first: the X headers define macros (None, Bool) that clash with it.
#include <gtest/gtest.h>

#include "graphics/x11/X11Input.h"

#include <X11/X.h>
#include <X11/keysym.h>


namespace {

TEST(X11Input, KeyTableCoversSpaceArrowsDigitsAndLetters)
{
    EXPECT_EQ(X11Input::KeyCodeForKeysym(XK_space), 0);
    EXPECT_EQ(X11Input::KeyCodeForKeysym(XK_Up), 1);
    EXPECT_EQ(X11Input::KeyCodeForKeysym(XK_Down), 2);
    EXPECT_EQ(X11Input::KeyCodeForKeysym(XK_Left), 3);
    EXPECT_EQ(X11Input::KeyCodeForKeysym(XK_Right), 4);
    EXPECT_EQ(X11Input::KeyCodeForKeysym(XK_KP_Left), 3);
    EXPECT_EQ(X11Input::KeyCodeForKeysym(XK_0), 5);
    EXPECT_EQ(X11Input::KeyCodeForKeysym(XK_9), 14);
    EXPECT_EQ(X11Input::KeyCodeForKeysym(XK_A), 15);
    EXPECT_EQ(X11Input::KeyCodeForKeysym(XK_a), 15);
    EXPECT_EQ(X11Input::KeyCodeForKeysym(XK_Z), 40);
    EXPECT_EQ(X11Input::KeyCodeForKeysym(XK_z), 40);
}

TEST(X11Input, OtherKeysHaveNoCode)
{
    for (unsigned long k : {XK_Return, XK_Escape, XK_F1, XK_Tab, XK_KP_5, XK_at, XK_bracketleft,
                            XK_grave, XK_braceleft, XK_Shift_L, XK_adiaeresis})
        EXPECT_EQ(X11Input::KeyCodeForKeysym(k), -1) << k;
}

TEST(X11Input, WheelButtonsAreOneStepEach)
{
    EXPECT_EQ(X11Input::WheelStepsForButton(Button4), 1);
    EXPECT_EQ(X11Input::WheelStepsForButton(Button5), -1);
    for (unsigned b : {1u, 2u, 3u, 6u, 7u, 8u})
        EXPECT_EQ(X11Input::WheelStepsForButton(b), 0) << b;
}

TEST(X11Input, ModsShowTheButtonsHeldAfterTheEvent)
{
    MouseMods m = X11Input::ModsFromState(0, Button1, true);
    EXPECT_TRUE(m.left);
    EXPECT_FALSE(m.right);
    m = X11Input::ModsFromState(Button1Mask, Button1, false);
    EXPECT_FALSE(m.left);
    m = X11Input::ModsFromState(Button1Mask | ShiftMask | ControlMask | Mod1Mask, Button3, true);
    EXPECT_TRUE(m.left);
    EXPECT_TRUE(m.right);
    EXPECT_TRUE(m.shift);
    EXPECT_TRUE(m.control);
    EXPECT_TRUE(m.alt);
    // The middle button is neither left nor right.
    m = X11Input::ModsFromState(Button2Mask, Button2, true);
    EXPECT_FALSE(m.left);
    EXPECT_FALSE(m.right);
}

} // namespace
