#pragma once

#include "app/HospitalInfo.h"
#include "db/Connection.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <optional>
#include <utility>

namespace admin {

// What a site sets for every workstation, as stored: its hospital record
// (name and address printed at the head of each request, site code, typed
// request numbers, refusal of items with nothing on hand) and the site
// switches the program reads.
struct SiteSettings {
    // Rows of the hospital record table; the program reads the first.
    int hospitalRecords = 0;
    // The first record's columns, NULL kept (a NULL site code or zero
    // on-hand setting stops the program at start-up).
    QVariant name, address1, address2, code, refuseZeroOnHand, typedNumbers;
    struct Switch {
        app::SiteSwitch what;
        bool stored = false;   // a row holds it (none: off)
        bool on = false;
    };
    QVector<Switch> switches;
};

// A change to a site's settings: what is given is set, the rest kept.
struct SiteChange {
    std::optional<QString> name, address1, address2, code;
    std::optional<bool> typedNumbers, refuseZeroOnHand;
    QVector<std::pair<app::SiteSwitch, bool>> switches;

    bool IsEmpty() const;
    // Reads "--hospital NAME", "--typed-numbers on", "--switch stock-limit=on"
    // and the like; throws AdminError naming what it could not read.
    static SiteChange FromOptions(const QStringList& options);
};

// A hospital record of what the change gives (empty texts and off for the
// rest), and a switch row; inside the caller's transaction.
void InsertHospitalRecord(db::Connection& connection, const SiteChange& record);
void InsertSiteSwitch(db::Connection& connection, const app::SiteSwitch& which, bool on);

SiteSettings ReadSiteSettings(db::Connection& connection);
// Sets what the change gives, in one transaction: every hospital record
// alike (the program reads the first), or a new one when there is none;
// a switch row made when missing.
void ChangeSiteSettings(db::Connection& connection, const SiteChange& change);
// The settings in the operator's words, with the option that sets each and
// what each switch does.
QString DescribeSiteSettings(const SiteSettings& settings);

// "on"/"off" (also 1/0, yes/no, true/false); nullopt for anything else.
std::optional<bool> OnOff(const QString& text);

// A text as the site record stores it: empty, never NULL (a NULL site code
// stops the program at start-up).
QString StoredText(const QString& text);

} // namespace admin
