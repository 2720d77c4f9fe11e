#pragma once

#include <QString>
#include <QTextStream>
#include <functional>
#include <stdexcept>

namespace admin {

// A request of the admin command that it refuses (an existing user ID, an
// unknown location), with the message shown to the operator.
class AdminError : public std::runtime_error {
public:
    explicit AdminError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& Message() const { return message_; }

private:
    QString message_;
};

// Runs one command and turns its failure into the command's exit code: 0 on
// success; otherwise the message (the server's description for a database
// error) goes to err and the result is 1.
int RunReportingFailure(const std::function<void()>& command, QTextStream& err);

} // namespace admin
