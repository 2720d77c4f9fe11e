#include "forms/Button.h"
#include "forms/FocusChain.h"
#include "forms/KeyPreview.h"
#include "forms/TextField.h"
#include "forms/widgets/Binders.h"
#include "forms/widgets/FocusSync.h"
#include "forms/widgets/KeyPreviewFilter.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A window of three fields and a button, the middle field disabled, under
// the key preview.
class KeyPath : public ::testing::Test {
protected:
    forms::FocusChain chain;
    forms::KeyPreview preview{chain};
    forms::TextField code, name, quantity;
    forms::Button ok{"&OK"};

    QWidget window;
    QLineEdit* codeEdit = new QLineEdit(&window);
    QLineEdit* nameEdit = new QLineEdit(&window);
    QLineEdit* quantityEdit = new QLineEdit(&window);
    QPushButton* okButton = new QPushButton(&window);

    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* widget : std::initializer_list<QWidget*>{codeEdit, nameEdit, quantityEdit, okButton})
            layout->addWidget(widget);
        forms::Bind(codeEdit, &code);
        forms::Bind(nameEdit, &name);
        forms::Bind(quantityEdit, &quantity);
        forms::Bind(okButton, &ok);
        chain.Add({&code, &name, &quantity, &ok});
        name.SetEnabled(false);
        new forms::FocusSync(&window, chain);
        new forms::KeyPreviewFilter(&window, preview);

        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_EQ(QApplication::activeWindow(), &window);
        chain.Focus(&code);
        ASSERT_TRUE(codeEdit->hasFocus());
    }
};

TEST_F(KeyPath, ApostropheDroppedAndLettersUpperCased)
{
    QTest::keyClicks(codeEdit, "a'b-1");
    EXPECT_EQ(codeEdit->text(), "AB-1");
    EXPECT_EQ(code.Text(), "AB-1");
}

TEST_F(KeyPath, EnterMovesToTheNextEnabledField)
{
    QTest::keyClick(codeEdit, Qt::Key_Return);
    EXPECT_TRUE(quantityEdit->hasFocus()) << "the disabled field is skipped";
    EXPECT_EQ(chain.Current(), &quantity);

    QTest::keyClick(quantityEdit, Qt::Key_Enter);
    EXPECT_TRUE(okButton->hasFocus());
    int pressed = 0;
    QObject::connect(&ok, &forms::Button::clicked, [&pressed] { ++pressed; });
    QTest::keyClick(okButton, Qt::Key_Return);
    EXPECT_EQ(pressed, 1) << "Enter presses the focused button";
    EXPECT_TRUE(okButton->hasFocus());
}

TEST_F(KeyPath, RealFocusMovesReachTheChainAndRefusalsBringTheFocusBack)
{
    chain.SetLeaveCheck(&code, [this] { return !code.Text().isEmpty(); });

    quantityEdit->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(codeEdit->hasFocus()) << "an empty code cannot be left";
    EXPECT_EQ(chain.Current(), &code);

    QTest::keyClicks(codeEdit, "x");
    quantityEdit->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(chain.Current(), &quantity);
    EXPECT_TRUE(quantityEdit->hasFocus());
}

TEST_F(KeyPath, SwitchedOffThePreviewLeavesKeysAlone)
{
    preview.SetEnabled(false);
    QTest::keyClicks(codeEdit, "a'b");
    QTest::keyClick(codeEdit, Qt::Key_Return);
    EXPECT_EQ(codeEdit->text(), "a'b");
    EXPECT_TRUE(codeEdit->hasFocus());
}

} // namespace
