#include "forms/BusyCursor.h"
#include "forms/Dialogs.h"
#include "support/ScriptedDialogHost.h"
#include "forms/TextField.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(BusyCursor, RestoredAfterAnExceptionAndAcrossNesting)
{
    const int shownBefore = forms::BusyCursor::TimesShown();
    try {
        forms::BusyCursor outer;
        {
            forms::BusyCursor inner;
            EXPECT_EQ(forms::BusyCursor::Depth(), 2);
        }
        EXPECT_EQ(forms::BusyCursor::Depth(), 1);
        throw std::runtime_error("statement failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(forms::BusyCursor::Depth(), 0);
    EXPECT_EQ(forms::BusyCursor::TimesShown(), shownBefore + 1) << "nested guards show it once";
}

// A password dialog: OK accepts when a password was typed; the close box
// records that the user gave up.
class PasswordDialog : public forms::DialogLogic {
    Q_OBJECT
public:
    forms::TextField password;
    bool gaveUp = false;

    void PressOk()
    {
        if (!password.Text().isEmpty())
            Close(forms::DialogResult::Accepted);
    }
    void CloseBoxPressed() override
    {
        gaveUp = true;
        DialogLogic::CloseBoxPressed();
    }
};

class KitDialog : public forms::DialogLogic {
    Q_OBJECT
};

TEST(ScriptedDialogHost, PlaysTheScriptOfTheDialogKind)
{
    testing_support::ScriptedDialogHost host;
    host.On<PasswordDialog>([](PasswordDialog& dialog) {
        dialog.password.SetText("SECRET");
        dialog.PressOk();
    });
    PasswordDialog dialog;

    EXPECT_EQ(host.Run(dialog), forms::DialogResult::Accepted);
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_FALSE(dialog.gaveUp);
    EXPECT_EQ(host.Opened(), QStringList{"PasswordDialog"});
}

TEST(ScriptedDialogHost, ScriptLeavingTheDialogOpenEndsLikeTheCloseBox)
{
    testing_support::ScriptedDialogHost host;
    host.On<PasswordDialog>([](PasswordDialog& dialog) { dialog.PressOk(); });
    PasswordDialog dialog;

    EXPECT_EQ(host.Run(dialog), forms::DialogResult::Rejected);
    EXPECT_TRUE(dialog.gaveUp);
    EXPECT_FALSE(dialog.IsOpen());
}

TEST(ScriptedDialogHost, DialogWithoutScriptIsAFault)
{
    testing_support::ScriptedDialogHost host;
    host.On<PasswordDialog>([](PasswordDialog&) {});
    KitDialog kit;
    EXPECT_THROW(host.Run(kit), std::logic_error);
}

} // namespace

#include "BusyCursorAndDialogsTest.moc"
