#pragma once

#include <QDateTime>

#include <QString>
#include <QVector>

namespace db { class Connection; }

namespace app {

struct SessionContext;

// True when the site switch row exists and its value is true. Read from the
// database at every call; database errors reach the caller.
bool IsSwitchOn(db::Connection& connection, const QString& idkey);

// A site switch the program reads: its key (idkey), the name an operator
// may call it by, the description a new site stores with it, and what it
// does when on.
struct SiteSwitch {
    QString key;
    QString name;
    QString description;
    QString effect;
};

// The switches the program reads, by key.
const QVector<SiteSwitch>& SiteSwitches();
// The switch of that key or name (without regard to case); nullptr for
// none.
const SiteSwitch* FindSiteSwitch(const QString& keyOrName);

// The database server's current time. Failures reach the caller.
QDateTime ServerTime(db::Connection& connection);

// Fills the hospital fields of the session from the first hospital record;
// false when there is none. Database errors reach the caller.
bool LoadHospitalInfo(SessionContext& session, db::Connection& connection);

} // namespace app
