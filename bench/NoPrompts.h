#pragma once

#include "forms/Prompts.h"

#include <stdexcept>

namespace bench {

// The benchmarks' prompts: no message is expected, so one is a fault.
class NoPrompts : public forms::Prompts {
public:
    forms::Answer Show(const forms::Message& message) override
    {
        throw std::runtime_error("unexpected message: " + message.text.toStdString());
    }
};

} // namespace bench
