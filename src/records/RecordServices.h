#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

namespace db { class Connection; }

namespace records {

// The lookup dialogs that the records' search operations open. The layer
// that owns the screen runs them; the records only see the code picked.
class Lookups {
public:
    // The reference tables of the reference lookup; the values are its
    // lookup types.
    enum class Reference : qint16 { Supplier = 1, TermsOfPayment = 2, UnitOfMeasure = 3 };

    virtual ~Lookups() = default;
    // The product search: over the whole item file when locationID is
    // blank, else among the items that the request's locations stock. The
    // code picked (or the single match), empty when none.
    virtual QString PickItem(const QString& searchText, const QString& locationName, const QString& locationID) = 0;
    // The reference lookup of one table: the code picked, empty when none.
    virtual QString PickReference(const QString& searchText, Reference table) = 0;
};

// The messages a record gives before it fails or gives up, which the layer
// that owns the screen shows.
class FailureNotices {
public:
    virtual ~FailureNotices() = default;
    // The description alone: an OK box without icon or caption of its own.
    virtual void Tell(const QString& description) = 0;
    // The description in a critical box with this caption.
    virtual void TellCritical(const QString& description, const QString& caption) = 0;
};

// What a record object reaches besides its own connection. Sub-records get
// the same services.
struct RecordServices {
    // The current user's connection, which an item reads its stock on
    // whatever connection it was given.
    std::function<db::Connection&()> userConnection;
    FailureNotices& notices;
    Lookups& lookups;
};

} // namespace records
