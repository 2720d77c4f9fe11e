#pragma once

#include "db/DbError.h"

#include <QDateTime>
#include <QString>
#include <QVector>

namespace db { class Connection; }

namespace requests {

// One line of a request as the lines grid holds it: every value is the
// cell's text.
struct RequestLine {
    QString itemId;     // column 0
    QString quantity;   // column 2, written unquoted
    QString unitCost;   // column 3, written unquoted
    QString retail;     // column 5
    QString ads;        // column 6, "Y" or "N"
};

// A save failed while it took a new number: nothing was written.
class NumberingError : public db::DbError {
public:
    using db::DbError::DbError;
};

// What a save writes: the header values repeated on every row, and the lines.
struct RequestToSave {
    QString documentNumber;   // "NEW" asks for a generated number
    QDateTime transDate;
    QString locationId;       // request-to
    QString targetLocationId; // department-from
    QString userId;
    QString remarks;
    QVector<RequestLine> lines;
};

// The next free document number: the highest whole stored number plus one.
// When the server's number query fails (a stored number is not a whole
// number) the whole numbers among the stored ones are counted instead, and a
// number that a stored request already has is never returned. Call it inside
// the save's transaction so that no other client can take the same number.
QString GetNewDocNumber(db::Connection& connection);

// True when at least one stored row has this number (trimmed).
bool DocumentNumberExists(db::Connection& connection, const QString& documentNumber);

// Stores the request in one transaction: the number (generated for "NEW"),
// the delete of every stored row of that number and one insert per line
// whose item code is not blank. Returns the number used. On any failure the
// transaction is rolled back, the stored request is as it was, and the
// DbError reaches the caller (a NumberingError when taking the number failed).
QString SaveRequest(db::Connection& connection, const RequestToSave& request);

// Stamps the verifier on every row of the request, as Verify/Save does
// after a supervisor accepted it.
void RecordVerification(db::Connection& connection, const QString& documentNumber, const QString& verifierId);

// Stamps the verifier on every row of the request (the screen's public
// VerifySaved).
void VerifySaved(db::Connection& connection, const QString& documentNumber, const QString& verifierId);

// Marks every row of the request cancelled by the user.
void CancelRequest(db::Connection& connection, const QString& documentNumber, const QString& userId);

} // namespace requests
