#pragma once

#include "forms/Prompts.h"

#include <QList>

namespace testing_support {

// Answers message boxes from a script. A message that nobody expected, or
// one that differs from the next expected text, fails the test; so does a
// scripted answer that nobody asked for by the time the object is destroyed.
class ScriptedPrompts : public forms::Prompts {
public:
    ~ScriptedPrompts() override;

    // Expects the next message to have this text (and, when given, this
    // title and icon), and answers it.
    ScriptedPrompts& Expect(const QString& text, forms::Answer answer = forms::Answer::Ok);
    ScriptedPrompts& Expect(const forms::Message& message, forms::Answer answer = forms::Answer::Ok);
    // Expects the next message's whole text to match the regular
    // expression (for texts that carry a time of day), and answers it.
    ScriptedPrompts& ExpectMatching(const QString& pattern, forms::Answer answer = forms::Answer::Ok);

    forms::Answer Show(const forms::Message& message) override;

    const QList<forms::Message>& Shown() const { return shown_; }
    bool AllAnswered() const { return script_.isEmpty(); }

private:
    struct Step {
        forms::Message message;
        bool checkDetails = false;
        forms::Answer answer = forms::Answer::Ok;
        bool pattern = false;
    };
    QList<Step> script_;
    QList<forms::Message> shown_;
};

} // namespace testing_support
