#include "forms/Button.h"
#include "forms/Dialogs.h"
#include "forms/widgets/Binders.h"
#include "forms/widgets/GuardedApplication.h"
#include "forms/widgets/MessageBoxPrompts.h"
#include "forms/widgets/WidgetDialogHost.h"
#include "support/ScriptedPrompts.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

// Acts on the modal window once its event loop runs.
void WhenModalShows(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0, qApp, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        act(modal);
    });
}

TEST(MessageBoxPrompts, ShowsTheMessageAndMapsTheAnswer)
{
    forms::MessageBoxPrompts prompts;
    QString seen;
    WhenModalShows([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen = box->windowTitle() + "|" + box->text() + "|" + QString::number(box->icon());
        box->button(QMessageBox::No)->click();
    });
    const forms::Answer answer = prompts.Show({"Do you want to leave without saving?", "Message",
                                               forms::Icon::Question, forms::Buttons::YesNo});
    EXPECT_EQ(answer, forms::Answer::No);
    EXPECT_EQ(seen, QString("Message|Do you want to leave without saving?|%1").arg(int(QMessageBox::Question)));

    WhenModalShows([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(prompts.Show({"Save?", "T", forms::Icon::None, forms::Buttons::YesNoCancel}), forms::Answer::Cancel);
    WhenModalShows([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
    EXPECT_EQ(prompts.Show({"Sure?", "T", forms::Icon::Critical, forms::Buttons::YesNo}), forms::Answer::Yes)
        << "the first button is the default";
}

class PickDialog : public forms::DialogLogic {
public:
    forms::Button select{"&Select"};
    PickDialog()
    {
        connect(&select, &forms::Button::clicked, this, [this] { Close(forms::DialogResult::Accepted); });
    }
};

TEST(WidgetDialogHost, ViewClosesWithTheLogicAndTheCloseBoxRejects)
{
    forms::WidgetDialogHost host;
    host.Register<PickDialog>([](PickDialog& dialog, QWidget* parent) {
        auto view = std::make_unique<QDialog>(parent);
        auto* button = new QPushButton(view.get());
        button->setObjectName("select");
        forms::Bind(button, &dialog.select);
        return view;
    });
    PickDialog dialog;

    WhenModalShows([](QWidget* modal) { modal->findChild<QPushButton*>("select")->click(); });
    EXPECT_EQ(host.Run(dialog), forms::DialogResult::Accepted);

    WhenModalShows([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(host.Run(dialog), forms::DialogResult::Rejected);
    EXPECT_FALSE(dialog.IsOpen());
}

} // namespace

TEST(GuardedApplication, AFailureThatNoActionCaughtIsShownAndTheProgramGoesOn)
{
    auto* application = qobject_cast<forms::GuardedApplication*>(QCoreApplication::instance());
    ASSERT_TRUE(application);
    testing_support::ScriptedPrompts prompts;
    application->SetPrompts(&prompts);
    QPushButton button;
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] {
        if (++clicks == 1)
            throw std::runtime_error("The connection was lost.");
    });
    prompts.Expect({"The connection was lost.", forms::kApplicationTitle, forms::Icon::Critical});
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);  // the button still works
    application->SetPrompts(nullptr);
    EXPECT_EQ(clicks, 2);
}
