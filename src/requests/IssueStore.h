#pragma once

#include "db/DbError.h"
#include "requests/RequestState.h"

#include <QString>
#include <QVector>

namespace db { class Connection; }

namespace requests {

// One line of a verified request as the store issues it.
struct IssueLine {
    int lineNo = 0;       // 1 and on, in the order the issue lists the lines
    QString itemId;
    QString name;         // the item's name and description
    double requested = 0;
    double onHand = 0;    // the store's stock when it was read
    double unitCost = 0;
    QString retail;       // the request's retail flag, kept for a remainder
    bool ads = false;
    double issue = 0;     // what the clerk issues; 0 issues nothing

    double Short() const { return requested > issue ? requested - issue : 0; }
};

// A request as the issue dialog opens it: what was stored (for the
// conflict check at the moment of issuing) and its lines with the store's
// stock, each issuing the smaller of the requested quantity and the stock.
struct IssueDraft {
    StoredRequest stored;
    QString fromName;  // department from
    QString toName;    // the store
    QString remarks;   // the request's justification
    QVector<IssueLine> lines;
};

// Reads request `number` for issuing. Database failures reach the caller.
IssueDraft ReadIssue(db::Connection& connection, const QString& number);

// What an issue writes.
struct IssueOrder {
    StoredRequest opened;     // the request as the clerk saw it
    QVector<IssueLine> lines;
    QString userId;           // the store clerk
    QString remarks;          // the request's justification, for a remainder
    // The quantities not issued become a new pending request from the same
    // department; otherwise the request ends with what was issued.
    bool remainderAsRequest = false;
};

// A line the store no longer has enough of: another clerk issued it, or its
// stock changed, since the dialog read it. Nothing was written.
class ShortStockError : public db::DbError {
public:
    ShortStockError(const IssueLine& line, double onHandNow);
    const QString& ItemId() const { return itemId_; }

private:
    QString itemId_;
};

// Issues the request in one write transaction: refused with a
// ConflictError when it is no longer stored as opened or not verified,
// with a ShortStockError when a line's quantity is no longer on hand at the
// store. The store's stock goes down and the department's (where it keeps
// the item) up by relative updates that never take a stock below zero; a
// movement row per line records what left the store; the remainder, when
// asked for, becomes a new request; every row of the request is marked
// processed by the clerk at the server's time. On any failure nothing is
// written. Returns the remainder request's number, or an empty text.
QString IssueRequest(db::Connection& connection, const IssueOrder& order);

// The justification of a remainder request, naming the request it
// continues.
QString RemainderRemarks(const QString& number, const QString& remarks);

} // namespace requests
