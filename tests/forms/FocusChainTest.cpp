#include "forms/Button.h"
#include "forms/FocusChain.h"
#include "forms/KeyPreview.h"
#include "forms/TextField.h"

#include <gtest/gtest.h>

namespace {

// Four fields and a button in tab order.
struct Screen {
    forms::FocusChain chain;
    forms::TextField code, name, quantity, cost;
    forms::Button ok{"Add to List"};

    Screen() { chain.Add({&code, &name, &quantity, &cost, &ok}); }
};

TEST(FocusChain, NextSkipsDisabledAndHiddenControlsAndWraps)
{
    Screen screen;
    screen.name.SetEnabled(false);
    screen.cost.SetVisible(false);

    EXPECT_TRUE(screen.chain.FocusNext());
    EXPECT_EQ(screen.chain.Current(), &screen.code) << "from no focus, the first control";
    screen.chain.FocusNext();
    EXPECT_EQ(screen.chain.Current(), &screen.quantity);
    screen.chain.FocusNext();
    EXPECT_EQ(screen.chain.Current(), &screen.ok);
    screen.chain.FocusNext();
    EXPECT_EQ(screen.chain.Current(), &screen.code);
    EXPECT_TRUE(screen.code.HasFocus());

    EXPECT_FALSE(screen.chain.Focus(&screen.name)) << "a disabled control cannot take the focus";
    EXPECT_EQ(screen.chain.Current(), &screen.code);
}

TEST(FocusChain, NextWithNothingElseFocusableStays)
{
    Screen screen;
    for (forms::Control* control : screen.chain.Order())
        control->SetEnabled(control == &screen.code);
    screen.chain.Focus(&screen.code);
    EXPECT_FALSE(screen.chain.FocusNext());
    EXPECT_EQ(screen.chain.Current(), &screen.code);
}

TEST(FocusChain, RefusingLeaveCheckKeepsTheFocusAndAsksForItBack)
{
    Screen screen;
    int checks = 0;
    screen.chain.SetLeaveCheck(&screen.quantity, [&] {
        ++checks;
        return screen.quantity.Text() == "3";
    });
    QList<forms::Control*> requested;
    QObject::connect(&screen.chain, &forms::FocusChain::focusRequested,
                     [&](forms::Control* control) { requested << control; });
    screen.chain.Focus(&screen.quantity);
    requested.clear();

    screen.quantity.SetText("X");
    EXPECT_FALSE(screen.chain.FocusNext());
    EXPECT_EQ(screen.chain.Current(), &screen.quantity);
    EXPECT_EQ(requested, QList<forms::Control*>{&screen.quantity});

    EXPECT_FALSE(screen.ok.Click()) << "a press is dropped when the field cannot be left";

    screen.quantity.SetText("3");
    int clicks = 0;
    QObject::connect(&screen.ok, &forms::Button::clicked, [&] { ++clicks; });
    EXPECT_TRUE(screen.ok.Click());
    EXPECT_EQ(screen.chain.Current(), &screen.ok);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(checks, 3);
}

TEST(FocusChain, LeaveCheckMessageCannotStartAnotherCheck)
{
    Screen screen;
    int checks = 0;
    screen.chain.Focus(&screen.code);
    // A message box inside the check makes the window hand the focus
    // around; that must not run the check again.
    screen.chain.SetLeaveCheck(&screen.code, [&] {
        ++checks;
        EXPECT_FALSE(screen.chain.Focus(&screen.name));
        return false;
    });
    screen.chain.Focus(&screen.quantity);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(screen.chain.Current(), &screen.code);
}

TEST(KeyPreview, EnterMovesOnUnlessTheFieldHasItsOwnAction)
{
    Screen screen;
    forms::KeyPreview preview(screen.chain);
    preview.SetEnterAction(&screen.cost, [&] { screen.chain.Focus(&screen.ok); });
    screen.chain.Focus(&screen.name);

    preview.PressEnter();
    EXPECT_EQ(screen.chain.Current(), &screen.quantity);
    preview.PressEnter();
    EXPECT_EQ(screen.chain.Current(), &screen.cost);

    screen.ok.SetEnabled(false);
    preview.PressEnter();
    EXPECT_EQ(screen.chain.Current(), &screen.cost) << "its own action, not the next field";

    screen.ok.SetEnabled(true);
    int pressed = 0;
    QObject::connect(&screen.ok, &forms::Button::clicked, [&pressed] { ++pressed; });
    preview.PressEnter();
    ASSERT_EQ(screen.chain.Current(), &screen.ok);
    preview.PressEnter();
    EXPECT_EQ(pressed, 1) << "Enter presses a focused button";
    EXPECT_EQ(screen.chain.Current(), &screen.ok);
}

TEST(KeyPreview, TranslateDropsApostrophesAndUpperCases)
{
    EXPECT_EQ(forms::KeyPreview::Translate("a'b"), "AB");
    EXPECT_EQ(forms::KeyPreview::Translate("'"), "");
    EXPECT_EQ(forms::KeyPreview::Translate("ñ1-"), "Ñ1-");
}

} // namespace
