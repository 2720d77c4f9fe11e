#pragma once

#include "db/DbError.h"
#include "requests/RequestState.h"

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

// The number field's text for a request whose number is taken at save time.
inline const QString kNewNumber = QStringLiteral("NEW");

// A typed number that a stored request has: nothing was written.
class NumberTakenError : public db::DbError {
public:
    NumberTakenError();
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
    // What was stored when the request was opened; none for a new request,
    // whose typed number must not be taken.
    std::optional<StoredRequest> opened;
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
// the check that nobody else's work is replaced (a typed new number not
// taken, an opened request stored as it was opened and neither cancelled
// nor processed), the delete of every stored row of that number and one
// insert per line whose item code is not blank. Returns the number used;
// `saved`, when given, receives the rows as saved, read in the same
// transaction. On any failure the transaction is rolled back, the stored
// request is as it was, and the DbError reaches the caller: a NumberingError
// when taking the number failed, a NumberTakenError or a ConflictError when
// the check refused.
QString SaveRequest(db::Connection& connection, const RequestToSave& request, StoredRequest* saved = nullptr);

// Stamps the verifier on every row of the request, as Verify/Save does
// after a supervisor accepted it; refused with a ConflictError, nothing
// written, when the request is no longer stored as `saved`.
void RecordVerification(db::Connection& connection, const StoredRequest& saved, const QString& verifierId);

// Stamps the verifier on every row of the request (the screen's public
// VerifySaved).
void VerifySaved(db::Connection& connection, const QString& documentNumber, const QString& verifierId);

// Marks every row of the request cancelled by the user, in one transaction
// that first checks the request is still as the list showed it; refused
// with a ConflictError, nothing written, when it is not.
void CancelRequest(db::Connection& connection, const ListedRequest& listed, const QString& userId);

// Ends the sentence of a conflict found by a save or a verification, and by
// a cancel.
inline const QString kSinceOpened = QStringLiteral("since you opened it");
inline const QString kSinceListed = QStringLiteral("since the list was read");

} // namespace requests
