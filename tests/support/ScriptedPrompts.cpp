#include "support/ScriptedPrompts.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace testing_support {

ScriptedPrompts::~ScriptedPrompts()
{
    for (const Step& step : script_)
        ADD_FAILURE() << "Scripted message never shown: " << step.message.text.toStdString();
}

ScriptedPrompts& ScriptedPrompts::Expect(const QString& text, forms::Answer answer)
{
    Step step;
    step.message.text = text;
    step.answer = answer;
    script_ << step;
    return *this;
}

ScriptedPrompts& ScriptedPrompts::Expect(const forms::Message& message, forms::Answer answer)
{
    script_ << Step{message, true, answer};
    return *this;
}

ScriptedPrompts& ScriptedPrompts::ExpectMatching(const QString& pattern, forms::Answer answer)
{
    Step step;
    step.message.text = pattern;
    step.answer = answer;
    step.pattern = true;
    script_ << step;
    return *this;
}

forms::Answer ScriptedPrompts::Show(const forms::Message& message)
{
    shown_ << message;
    if (script_.isEmpty()) {
        ADD_FAILURE() << "Unexpected message: " << message.text.toStdString();
        return forms::Answer::Cancel;
    }
    const Step step = script_.takeFirst();
    if (step.pattern)
        EXPECT_TRUE(QRegularExpression(QRegularExpression::anchoredPattern(step.message.text)).match(message.text).hasMatch())
            << message.text.toStdString() << "\ndoes not match\n" << step.message.text.toStdString();
    else
        EXPECT_EQ(step.message.text.toStdString(), message.text.toStdString());
    if (step.checkDetails) {
        EXPECT_EQ(step.message.title.toStdString(), message.title.toStdString())
            << "title of " << message.text.toStdString();
        EXPECT_EQ(int(step.message.icon), int(message.icon)) << "icon of " << message.text.toStdString();
        EXPECT_EQ(int(step.message.buttons), int(message.buttons))
            << "buttons of " << message.text.toStdString();
    }
    return step.answer;
}

} // namespace testing_support
