#pragma once

#include "db/DbError.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace db { class Connection; }

namespace requests {

// What the rows of one request held when they were read: the request's
// state, who verified, processed or last saved it, and every row's values.
// A workstation keeps this from the moment it opens (or lists) a request,
// and every write compares it with what is stored at that moment, inside
// the write's own transaction, so that nobody's work is undone unseen.
struct StoredRequest {
    QString number;
    // Each row's values as one text, sorted: two reads are the same request
    // exactly when these are equal.
    QStringList rows;
    // From the first row: every row of a request carries the same header.
    QString status;
    QString verifiedBy;
    QDateTime verifiedDate;
    QString processBy;
    QDateTime processDate;
    QString userId;
    QString requestedBy;  // the requester's name as the list shows it
    QDateTime transDate;
    QString locationId;
    QString targetLocationId;

    bool Exists() const { return !rows.isEmpty(); }
    bool IsCancelled() const;
    bool IsProcessed() const;
    bool IsVerified() const { return !verifiedBy.trimmed().isEmpty(); }

    // The stored rows of the request with this number (trimmed).
    static StoredRequest Read(db::Connection& connection, const QString& number);
};

// What a list row showed of a request: enough to tell whether the request
// changed since the list was read.
struct ListedRequest {
    QString number;
    QString requestedBy;
    QDateTime transDate;
    QString targetLocationId;
    bool verified = false;   // listed in a verified view
    bool processed = false;  // listed in the processed view
};

// Another workstation's work found by a write that would have undone it.
struct Conflict {
    enum class Kind { Cancelled, Processed, Verified, Changed, Removed };
    Kind kind = Kind::Changed;
    QString number;
    QString by;    // the user who did it, when the rows tell
    QDateTime at;  // when, when the rows tell
    // False when the request was already in that state when it was read
    // (reopened after a refusal): then it did not happen "since".
    bool sinceRead = true;

    // Whether the stored request can still be taken over by saving the
    // screen's lines as a new request (it was not ended on purpose).
    bool MaySaveAsNew() const { return kind == Kind::Changed || kind == Kind::Verified || kind == Kind::Removed; }
};

// A write refused because of a conflict: nothing was written.
class ConflictError : public db::DbError {
public:
    ConflictError(Conflict conflict, const QString& description)
        : db::DbError(description), conflict_(std::move(conflict)) {}
    const Conflict& Details() const { return conflict_; }

private:
    Conflict conflict_;
};

// Whether a save of the request read as `opened` may replace what is stored
// now: never over another workstation's change, and never a request that is
// cancelled or processed.
std::optional<Conflict> SaveConflict(const StoredRequest& opened, const StoredRequest& now);
// Whether a request listed as `listed` may still be cancelled.
std::optional<Conflict> CancelConflict(const ListedRequest& listed, const StoredRequest& now);

// "Request 12 was cancelled by RLIM at 10:42 since you opened it."; `since`
// ends the sentence ("since you opened it", "since the list was read").
QString ConflictText(const Conflict& conflict, const QString& since);

} // namespace requests
