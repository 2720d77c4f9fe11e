#pragma once

#include <QString>

namespace db { class Connection; }
namespace forms { class Picker; class Prompts; }

namespace locations {

// Which list of locations a picker shows. The tests run in this order and
// the first match wins: user locations, non-store (both "non" flags),
// non-warehouse, non-dispensing, orderable, all active.
struct LocationListFlags {
    bool nonDispensing = false;
    bool selectDefault = false;
    bool nonWarehouse = false;
    bool orderable = false;
    bool userLocations = false;
};

// The statement that lists the locations of that kind; user locations are
// those of the given user.
QString LocationListStatement(const LocationListFlags& flags, const QString& employeeId);

// Fills a location picker with the list of that kind and, when asked,
// preselects the default location (text and tag). The tag is emptied first;
// an empty list leaves the picker's rows as they were. A failure is shown as
// "Called from: Sub LoadLocation -" and its description; the picker keeps
// what was set before it.
void LoadLocation(forms::Picker& picker, const LocationListFlags& flags, db::Connection& connection,
                  forms::Prompts& prompts, const QString& employeeId, const QString& defaultLocationId);

// The outcome of looking a location name up.
struct ValidatedLocation {
    bool valid = false;
    QString locationId;                  // empty when not valid
    bool notStoreAndDispensing = false;  // not both warehouse and dispensing area
};

// Turns a location name into its ID and tells whether it is other than a
// combined warehouse and dispensing area. With checkRights, the right code
// must admit the location's inventory type, or "Unauthorized Access..." is
// shown. A database failure is shown as its description; the result is then
// not valid.
ValidatedLocation ValidateLocation(db::Connection& connection, forms::Prompts& prompts, const QString& rightCode,
                                   const QString& name, bool checkRights);

// The item code of the master-file item whose barcode this is, or the code
// itself. Database failures reach the caller.
QString GetItemIDByBarcode(db::Connection& connection, const QString& code);

} // namespace locations
