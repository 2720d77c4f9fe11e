#pragma once

#include <QString>
#include <stdexcept>

namespace db {

// A statement the database refused, carrying the server's own description.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description) {}
    const QString& Description() const { return description_; }

private:
    QString description_;
};

} // namespace db
