#include "admin/Site.h"

#include "admin/AdminError.h"

#include <QSet>

namespace admin {

namespace {

// The site's settings are written with the program's own statements and
// bound values, which every backend runs.
const QString kHospitalColumns = QStringLiteral(
    "Company, Address1, Address2, ClientName, AllowWDZeroOnHand, isAutoWithdrawRequestNumber");

QString OnOffText(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

// A flag of the hospital record as the operator reads it.
QString FlagText(const QVariant& value)
{
    return value.isNull() ? QStringLiteral("NULL") : OnOffText(value.toBool());
}

QString Text(const QVariant& value)
{
    return value.isNull() ? QStringLiteral("NULL") : value.toString();
}

} // namespace

std::optional<bool> OnOff(const QString& text)
{
    static const QStringList on{"on", "1", "yes", "y", "true"}, off{"off", "0", "no", "n", "false"};
    const QString value = text.trimmed().toLower();
    if (on.contains(value))
        return true;
    if (off.contains(value))
        return false;
    return std::nullopt;
}

QString StoredText(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

bool SiteChange::IsEmpty() const
{
    return !name && !address1 && !address2 && !code && !typedNumbers && !refuseZeroOnHand && switches.isEmpty();
}

SiteChange SiteChange::FromOptions(const QStringList& options)
{
    SiteChange change;
    for (int i = 0; i < options.size(); i += 2) {
        const QString& option = options[i];
        if (i + 1 >= options.size())
            throw AdminError(QStringLiteral("Option %1 needs a value.").arg(option));
        const QString& value = options[i + 1];
        const auto flag = [&] {
            const std::optional<bool> on = OnOff(value);
            if (!on)
                throw AdminError(QStringLiteral("Option %1 takes on or off, not \"%2\".").arg(option, value));
            return *on;
        };
        if (option == QLatin1String("--hospital"))
            change.name = value;
        else if (option == QLatin1String("--address"))
            change.address1 = value;
        else if (option == QLatin1String("--address2"))
            change.address2 = value;
        else if (option == QLatin1String("--code"))
            change.code = value;
        else if (option == QLatin1String("--typed-numbers"))
            change.typedNumbers = flag();
        else if (option == QLatin1String("--refuse-zero-on-hand"))
            change.refuseZeroOnHand = flag();
        else if (option == QLatin1String("--switch")) {
            const qsizetype equals = value.indexOf(QLatin1Char('='));
            const app::SiteSwitch* which = app::FindSiteSwitch(value.left(equals));
            const std::optional<bool> on = equals < 0 ? std::nullopt : OnOff(value.mid(equals + 1));
            if (!which || !on) {
                QStringList known;
                for (const app::SiteSwitch& s : app::SiteSwitches())
                    known << QStringLiteral("%1 (%2)").arg(s.name, s.key);
                throw AdminError(QStringLiteral("--switch takes NAME=on or NAME=off, NAME one of %1, or its number; "
                                                "not \"%2\".")
                                     .arg(known.join(QStringLiteral(", ")), value));
            }
            change.switches.append({*which, *on});
        } else
            throw AdminError(QStringLiteral("Unknown option %1.").arg(option));
    }
    return change;
}

void InsertHospitalRecord(db::Connection& connection, const SiteChange& record)
{
    connection.ExecuteWith(
        QStringLiteral("Insert INVENTORY..tbHospitalInfo (%1) Values (?, ?, ?, ?, ?, ?)").arg(kHospitalColumns),
        {StoredText(record.name.value_or(QString())), StoredText(record.address1.value_or(QString())),
         StoredText(record.address2.value_or(QString())), StoredText(record.code.value_or(QString())),
         record.refuseZeroOnHand.value_or(false) ? 1 : 0, record.typedNumbers.value_or(false) ? 1 : 0});
}

void InsertSiteSwitch(db::Connection& connection, const app::SiteSwitch& which, bool on)
{
    connection.ExecuteWith(
        QStringLiteral("Insert INVENTORY..tbPharmaSwitch (idkey, KeyValue, SwitchDescription) Values (?, ?, ?)"),
        {which.key, on ? 1 : 0, which.description});
}

SiteSettings ReadSiteSettings(db::Connection& connection)
{
    SiteSettings settings;
    const db::RowSet hospital = connection.Execute(QStringLiteral("Select %1 From INVENTORY..tbHospitalInfo").arg(kHospitalColumns));
    settings.hospitalRecords = hospital.RecordCount();
    if (!hospital.IsEmpty()) {
        const db::RowSet::Row& first = hospital.RowAt(0);
        settings.name = first.value(0);
        settings.address1 = first.value(1);
        settings.address2 = first.value(2);
        settings.code = first.value(3);
        settings.refuseZeroOnHand = first.value(4);
        settings.typedNumbers = first.value(5);
    }
    QSet<QString> stored;
    const db::RowSet keys = connection.Execute(QStringLiteral("Select idkey From INVENTORY..tbPharmaSwitch"));
    for (const db::RowSet::Row& row : keys.Rows())
        stored.insert(row.value(0).toString().trimmed());
    for (const app::SiteSwitch& s : app::SiteSwitches())
        settings.switches.append({s, stored.contains(s.key), app::IsSwitchOn(connection, s.key)});
    return settings;
}

void ChangeSiteSettings(db::Connection& connection, const SiteChange& change)
{
    db::TransactionGuard transaction(connection);
    const bool hasRecord =
        !connection.Execute(QStringLiteral("Select Company From INVENTORY..tbHospitalInfo")).IsEmpty();
    const bool recordChanges = change.name || change.address1 || change.address2 || change.code
                               || change.typedNumbers || change.refuseZeroOnHand;
    if (recordChanges && !hasRecord) {
        InsertHospitalRecord(connection, change);
    } else if (recordChanges) {
        QStringList assignments;
        QVariantList values;
        const auto set = [&](const char* column, const QVariant& value) {
            assignments << QLatin1String(column) + QStringLiteral(" = ?");
            values << value;
        };
        if (change.name)
            set("Company", StoredText(*change.name));
        if (change.address1)
            set("Address1", StoredText(*change.address1));
        if (change.address2)
            set("Address2", StoredText(*change.address2));
        if (change.code)
            set("ClientName", StoredText(*change.code));
        if (change.refuseZeroOnHand)
            set("AllowWDZeroOnHand", *change.refuseZeroOnHand ? 1 : 0);
        if (change.typedNumbers)
            set("isAutoWithdrawRequestNumber", *change.typedNumbers ? 1 : 0);
        connection.ExecuteWith("Update INVENTORY..tbHospitalInfo Set " + assignments.join(QStringLiteral(", ")), values);
    }
    for (const auto& [which, on] : change.switches) {
        const db::RowSet updated =
            connection.ExecuteWith(QStringLiteral("Update INVENTORY..tbPharmaSwitch Set KeyValue = ? Where idkey = ?"),
                                   {on ? 1 : 0, which.key});
        if (updated.RowsAffected() == 0)
            InsertSiteSwitch(connection, which, on);
    }
    transaction.Commit();
}

QString DescribeSiteSettings(const SiteSettings& settings)
{
    QString text;
    if (settings.hospitalRecords == 0)
        text += QStringLiteral("No hospital record: the program says \"No Hospital information was found\" at "
                               "start-up and prints no heading. Give one with --hospital NAME --address LINE.\n");
    else {
        text += QStringLiteral("Hospital record (its name and address head every printed request):\n");
        const auto line = [&](const char* option, const char* label, const QString& value, const QString& note = {}) {
            text += QStringLiteral("  %1 %2 %3\n").arg(QLatin1String(option), -22).arg(QLatin1String(label), -22).arg(value);
            if (!note.isEmpty())
                text += QStringLiteral("      %1\n").arg(note);
        };
        const QString nullStops = QStringLiteral("NULL stops the program at start-up (\"Invalid use of Null\"): set it");
        line("--hospital", "name", Text(settings.name));
        line("--address", "address", Text(settings.address1));
        line("--address2", "second address line", Text(settings.address2), QStringLiteral("kept, not printed"));
        line("--code", "site code", Text(settings.code),
             settings.code.isNull() ? nullStops + QStringLiteral(", empty if the site has none (--code \"\")") : QString());
        const bool switchTwo = !settings.switches.isEmpty() && settings.switches.first().on;
        line("--typed-numbers", "typed request numbers", FlagText(settings.typedNumbers),
             switchTwo ? QStringLiteral("on: the user types a new request's number; off: it is given at save time")
                       : QStringLiteral("read only while switch 2 (typed-numbers) is on; now numbers are given at save "
                                        "time"));
        line("--refuse-zero-on-hand", "refuse zero on hand", FlagText(settings.refuseZeroOnHand),
             settings.refuseZeroOnHand.isNull()
                 ? nullStops + QStringLiteral(" on or off")
                 : QStringLiteral("on: items with nothing on hand are refused, and kits are entered as plain items"));
        if (settings.hospitalRecords > 1)
            text += QStringLiteral("  (%1 hospital records: the program reads the first; this command sets them "
                                   "all alike)\n")
                        .arg(settings.hospitalRecords);
    }
    text += QStringLiteral("Site switches (--switch NAME=on|off, or by number):\n");
    for (const SiteSettings::Switch& s : settings.switches)
        text += QStringLiteral("  %1 %2 %3\n      %4\n")
                    .arg(s.what.key)
                    .arg(s.what.name, -19)
                    .arg(s.stored ? OnOffText(s.on) : QStringLiteral("off (no row)"))
                    .arg(s.what.effect);
    return text;
}

} // namespace admin
