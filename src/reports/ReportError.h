#pragma once

#include <QString>
#include <stdexcept>

namespace reports {

// A report that cannot be opened, set up, run or painted. The description is
// meant for the user: callers show it in a message and carry on.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description) {}
    const QString& Description() const { return description_; }

private:
    QString description_;
};

} // namespace reports
