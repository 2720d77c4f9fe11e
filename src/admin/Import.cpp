#include "admin/Import.h"

#include "admin/AdminError.h"
#include "admin/Users.h"
#include "base/Texts.h"
#include "db/Catalog.h"
#include "db/Quote.h"
#include "db/WholeNumbers.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <utility>
#include <unistd.h>

namespace admin {

namespace {

// One column of a kind's file: its header name, whether every row must give
// it, the value an absent or empty field takes, the stored column whose
// length bounds it (none for values that are no stored text) and a line of
// help.
struct ColumnSpec {
    const char* name;
    bool required;
    const char* fallback;
    const char* table;
    const char* column;
    const char* help;
};

struct KindSpec {
    ImportKind kind;
    const char* name;
    const char* what;           // the records, in the operator's words
    QVector<ColumnSpec> columns;
};

const QVector<KindSpec>& Kinds()
{
    static const QVector<KindSpec> kinds{
        {ImportKind::Terms, "terms", "terms of payment",
         {{"id", true, "", nullptr, nullptr, "whole number, 1 to 32767"},
          {"name", true, "", "tbInvTerms", "Terms", "such as NET 30 DAYS"},
          {"days", false, "0", nullptr, nullptr, "days to pay, 0 to 32767"},
          {"inactive", false, "0", nullptr, nullptr, "1: no longer offered"}}},
        {ImportKind::Suppliers, "suppliers", "suppliers",
         {{"id", true, "", "tbInvSupplier", "SupplierID", "whole number, the supplier's code"},
          {"name", true, "", "tbInvSupplier", "SupplierName", ""},
          {"type", false, "", "tbInvSupplier", "SupplierType", "such as LOCAL"},
          {"address1", false, "", "tbInvSupplier", "Address1", ""},
          {"address2", false, "", "tbInvSupplier", "Address2", ""},
          {"address3", false, "", "tbInvSupplier", "Address3", ""},
          {"terms_id", false, "", nullptr, nullptr, "terms of payment imported before"},
          {"phone", false, "", "tbInvSupplier", "TelNum", ""},
          {"contact", false, "", "tbInvSupplier", "ContactPerson", "contact person"},
          {"free_goods", false, "0", nullptr, nullptr, "1: gives free goods"},
          {"vat", false, "0", nullptr, nullptr, "1: charges VAT"},
          {"inactive", false, "0", nullptr, nullptr, "1: no longer ordered from"}}},
        {ImportKind::Units, "units", "units of measure",
         {{"id", true, "", nullptr, nullptr, "whole number, 1 to 32767"},
          {"name", true, "", "tbInvUnitOfMeasure", "UnitOfMeasure", "such as TABLET; one unit to a name"},
          {"inactive", false, "0", nullptr, nullptr, "1: no longer used"}}},
        {ImportKind::Classifications, "classifications", "item classifications",
         {{"id", true, "", "tbInvClassification", "ItemClassificationID", "letters and digits, such as MED"},
          {"name", true, "", "tbInvClassification", "ItemClassificationName", ""},
          {"fixed_asset", false, "0", nullptr, nullptr,
           "1: equipment, which the product search and the fill from levels leave out"},
          {"inactive", false, "0", nullptr, nullptr, "1: no longer used"}}},
        {ImportKind::GenericClasses, "generic_classes", "therapeutic classes of generic names",
         {{"key", true, "", "tbforClassification", "Node_Key", "digits and points: 12 a class, 12.1 a class within it"},
          {"name", true, "", "tbforClassification", "ClassificationName", ""}}},
        {ImportKind::Generics, "generics", "generic names",
         {{"id", true, "", "tbforGeneric", "GenericID", "letters and digits, such as G001"},
          {"name", true, "", "tbforGeneric", "GenericName", "such as PARACETAMOL"},
          {"class", false, "", "tbforGeneric", "Node_Key",
           "a therapeutic class imported before, with a point (12.1: of class 12) or of one character"}}},
        {ImportKind::Locations, "locations", "locations",
         {{"id", true, "", "tbInvLocation", "LocationID", "whole number, the location's code"},
          {"name", true, "", "tbInvLocation", "Location", ""},
          {"warehouse", false, "0", nullptr, nullptr, "1: a store that supplies requests"},
          {"dispensing", false, "0", nullptr, nullptr, "1: a dispensing area (pharmacy)"},
          {"allow_order", false, "1", nullptr, nullptr, "1: may order from suppliers"},
          {"inventory_type", false, "", "tbInvLocation", "InventoryType", ""},
          {"inactive", false, "0", nullptr, nullptr, "1: closed, offered nowhere"}}},
        {ImportKind::Items, "items", "items",
         {{"code", true, "", "tbInvMaster", "ItemID", "whole number, a P in front allowed (P0159); digits alone can be typed in Code"},
          {"name", true, "", "tbInvMaster", "ItemName", "what a product search starts with"},
          {"description", false, "", "tbInvMaster", "ItemDesc", ""},
          {"unit", false, "", "tbInvUnitOfMeasure", "UnitOfMeasure", "unit of measure, added when new"},
          {"packing", false, "1", nullptr, nullptr, "whole number, 1 to 32767"},
          {"list_cost", false, "0", nullptr, nullptr, ""},
          {"average_cost", false, "list_cost", nullptr, nullptr, "the unit cost a request line takes"},
          {"barcode", false, "", "tbInvMaster", "BarCode", "scanned into Code; no other item's code"},
          {"supplier_id", false, "", "tbInvSupplier", "SupplierID", "whole number"},
          {"supplier_name", false, "", "tbInvSupplier", "SupplierName", "adds or renames that supplier"},
          {"unit_id", false, "", nullptr, nullptr, "a unit of measure imported before, in place of unit"},
          {"classification", false, "", "tbInvMaster", "ItemClassificationID", "an item classification imported before"},
          {"generic", false, "", "tbInvMaster", "GenericID", "a generic name imported before"},
          {"manufacturer_id", false, "", "tbInvMaster", "ManufacturerID", "a supplier's id"},
          {"inactive", false, "0", nullptr, nullptr, "1: no longer requested"}}},
        {ImportKind::Stock, "stock", "stock rows",
         {{"item", true, "", nullptr, nullptr, "an item's code"},
          {"location", true, "", nullptr, nullptr, "a location's id"},
          {"on_hand", false, "0", nullptr, nullptr, ""},
          {"min", false, "0", nullptr, nullptr, "minimum stock level"},
          {"max", false, "0", nullptr, nullptr, "maximum stock"},
          {"average_cost", false, "the item's", nullptr, nullptr, ""},
          {"inactive", false, "0", nullptr, nullptr, "1: not requested at this location"}}},
        {ImportKind::Kits, "kits", "kit components",
         {{"kit", true, "", nullptr, nullptr, "the kit's own item code"},
          {"item", true, "", nullptr, nullptr, "a component's item code"},
          {"qty", true, "", nullptr, nullptr, "more than 0"},
          {"retail", false, "0", nullptr, nullptr, "1: charged per piece"},
          {"inactive", false, "0", nullptr, nullptr, "1: left out when the kit is entered"}}},
        {ImportKind::Users, "users", "users",
         {{"id", true, "", "tbPasswordMain", "EmployeeID", "the log-in ID"},
          {"last_name", true, "", "tbPasswordMain", "LastName", ""},
          {"first_name", true, "", "tbPasswordMain", "FirstName", ""},
          {"departments", false, "", nullptr, nullptr, "location ids, separated by ; or blanks"},
          {"supervisor", false, "0", nullptr, nullptr, "1: may verify and authorise requests"},
          {"issuer", false, "0", nullptr, nullptr, "1: may issue verified requests from the store"},
          {"password", false, "", nullptr, nullptr, "none: cannot log in until user passwd"}}},
    };
    return kinds;
}

const KindSpec& SpecOf(ImportKind kind)
{
    for (const KindSpec& spec : Kinds())
        if (spec.kind == kind)
            return spec;
    throw AdminError(QStringLiteral("Unknown kind of import."));
}

int ColumnLength(const char* table, const char* column)
{
    const db::ColumnDef* def = db::Catalog::Instance().FindColumn(QLatin1String(table), QLatin1String(column));
    return def ? def->length : 0;
}

// The header row: which field holds which column.
class Layout {
public:
    Layout(const KindSpec& spec, const CsvRecord& header, QStringList& problems) : spec_(spec)
    {
        // A file saved with another separator, or in UTF-16 (whose every
        // other byte is a NUL), has no column this program knows: the
        // reason is said instead.
        for (const QString& field : header.fields)
            if (field.contains(QChar(0))) {
                problems << QStringLiteral("line %1: the header holds NUL characters (byte 0): the file is no UTF-8 "
                                           "text. ").arg(header.line) + kSaveAsUtf8;
                return;
            }
        if (header.fields.size() == 1) {
            for (const auto& [separator, name] : {std::pair{u';', "semicolons"}, std::pair{u'\t', "tabs"}})
                if (header.fields[0].contains(QChar(separator))) {
                    problems << QStringLiteral("line %1: the columns are separated by %2; an import file separates "
                                               "them by commas").arg(header.line).arg(QLatin1String(name));
                    return;
                }
        }
        for (int i = 0; i < header.fields.size(); ++i) {
            const QString name = header.fields[i].trimmed().toLower();
            if (name.isEmpty())
                continue;
            const ColumnSpec* column = Find(name);
            if (!column)
                problems << QStringLiteral("line %1: unknown column \"%2\"").arg(header.line).arg(header.fields[i]);
            else if (index_.contains(name))
                problems << QStringLiteral("line %1: column \"%2\" named twice").arg(header.line).arg(name);
            else
                index_.insert(name, i);
        }
        for (const ColumnSpec& column : spec_.columns)
            if (column.required && !index_.contains(QLatin1String(column.name)))
                problems << QStringLiteral("line %1: no column \"%2\"").arg(header.line).arg(column.name);
        width_ = int(header.fields.size());
        names_ = header.fields;
        for (const ColumnSpec& column : spec_.columns) {
            fieldOfSlot_ << index_.value(QLatin1String(column.name), -1);
            lengthOfSlot_ << (column.table ? ColumnLength(column.table, column.column) : 0);
        }
    }

    const ColumnSpec* Find(const QString& name) const
    {
        for (const ColumnSpec& column : spec_.columns)
            if (name == QLatin1String(column.name))
                return &column;
        return nullptr;
    }
    // The column of the kind's list that the code names (every row asks
    // for each of its columns: no text is made to find it).
    int Slot(const char* name) const
    {
        for (int i = 0; i < spec_.columns.size(); ++i)
            if (spec_.columns[i].name[0] == name[0] && qstrcmp(spec_.columns[i].name, name) == 0)
                return i;
        throw AdminError(QStringLiteral("No column %1.").arg(QLatin1String(name)));
    }
    const ColumnSpec& Column(int slot) const { return spec_.columns[slot]; }
    int IndexOf(const char* name) const { return fieldOfSlot_.at(Slot(name)); }
    int IndexOfSlot(int slot) const { return fieldOfSlot_.at(slot); }
    int LengthOf(int slot) const { return lengthOfSlot_.at(slot); }
    int Width() const { return width_; }
    // A field of a row as the operator knows it: its column's name, or its
    // place where the header names none.
    QString FieldName(int index) const
    {
        const QString name = names_.value(index).trimmed();
        return name.isEmpty() ? QStringLiteral("field %1").arg(index + 1) : name;
    }

private:
    const KindSpec& spec_;
    QStringList names_;
    QHash<QString, int> index_;
    QVector<int> fieldOfSlot_;
    QVector<int> lengthOfSlot_;
    int width_ = 0;
};

// One data row being checked: its values, and the reasons it is bad.
class Row {
public:
    Row(const Layout& layout, const CsvRecord& record) : layout_(layout), record_(record)
    {
        if (record.fields.size() > layout.Width())
            Fail(QStringLiteral("%1 fields, the header names %2").arg(record.fields.size()).arg(layout.Width()));
        // No stored text may hold one: a server refuses the statement.
        for (int i = 0; i < record.fields.size(); ++i)
            if (record.fields[i].contains(QChar(0)))
                Fail(QStringLiteral("%1 holds a NUL character (byte 0)").arg(layout.FieldName(i)));
    }

    int Line() const { return record_.line; }
    bool Bad() const { return !reasons_.isEmpty(); }
    QString Reasons() const { return reasons_.join(QStringLiteral("; ")); }
    void Fail(const QString& reason) { reasons_ << reason; }

    bool Given(const char* name) const { return !Raw(name).isEmpty(); }
    // Whether the header names the column: an update leaves the others as
    // they are stored.
    bool Named(const char* name) const { return layout_.IndexOf(name) >= 0; }

    // "Update TABLE Set " with the assignments of the columns the file
    // names (each a file column and its assignment), then `where`.
    QString Update(const QString& table, const QList<std::pair<const char*, QString>>& assignments,
                   const QString& where) const
    {
        QStringList named;
        for (const auto& [column, assignment] : assignments)
            if (Named(column))
                named << assignment;
        return "Update " + table + " Set " + named.join(QStringLiteral(", ")) + " Where " + where;
    }

    // The field without blanks around; a required one must not be empty, a
    // stored text must fit its column.
    QString Text(const char* name)
    {
        const int slot = layout_.Slot(name);
        const ColumnSpec& column = layout_.Column(slot);
        const QString value = RawOfSlot(slot);
        if (value.isEmpty() && column.required)
            Fail(QStringLiteral("%1 is empty").arg(QLatin1String(name)));
        const int length = layout_.LengthOf(slot);
        if (length > 0 && value.size() > length)
            Fail(QStringLiteral("%1 has %2 characters, more than the %3 that %4.%5 holds")
                     .arg(QLatin1String(name)).arg(value.size()).arg(length)
                     .arg(QLatin1String(column.table), QLatin1String(column.column)));
        return value;
    }

    // A code as the program reads the codes it makes: a whole number from 1
    // up, without sign or blanks; an item code may have a P in front
    // (P0159), which the item records' numbering passes over. Empty when
    // the field is bad (or empty and not required).
    QString Code(const char* name, bool itemCode = false)
    {
        const QString value = Text(name);
        if (value.isEmpty())
            return value;
        const QStringView digits = itemCode && value.startsWith(QLatin1Char('P'), Qt::CaseInsensitive)
                                       ? QStringView(value).mid(1)
                                       : QStringView(value);
        const bool allDigits = !digits.isEmpty()
                               && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        const std::optional<qlonglong> number = allDigits ? db::WholeNumber(digits.toString()) : std::nullopt;
        if (!number || *number < 1) {
            Fail(itemCode ? QStringLiteral("%1 \"%2\" is no whole number from 1 up (a P in front allowed)")
                                .arg(QLatin1String(name), value)
                          : QStringLiteral("%1 \"%2\" is no whole number from 1 up").arg(QLatin1String(name), value));
            return {};
        }
        return value;
    }

    // A code of letters and digits (points and dashes allowed), as the
    // program's lookups take it: no blanks, quotes or other signs. Empty
    // when the field is bad (or empty and not required).
    QString Key(const char* name)
    {
        const QString value = Text(name);
        const bool plain = std::all_of(value.begin(), value.end(),
                                       [](QChar c) { return c.isLetterOrNumber() || c == u'.' || c == u'-'; });
        if (!plain) {
            Fail(QStringLiteral("%1 \"%2\" holds other characters than letters, digits, points and dashes")
                     .arg(QLatin1String(name), value));
            return {};
        }
        return value;
    }

    // A whole-number code from `least` to `most`; 0 when the field is bad
    // (or empty and not required).
    int WholeCode(const char* name, int least, int most)
    {
        if (Text(name).isEmpty())
            return 0;
        return Whole(name, 0, least, most);
    }

    // A number of at least `least` (fallback when the field is empty).
    double Number(const char* name, double fallback, double least = 0)
    {
        const QString value = Raw(name);
        if (value.isEmpty())
            return fallback;
        const std::optional<double> number = base::NumericValue(value);
        if (!number || !std::isfinite(*number)) {
            Fail(QStringLiteral("%1 \"%2\" is no number").arg(QLatin1String(name), value));
            return fallback;
        }
        if (*number < least) {
            Fail(QStringLiteral("%1 %2 is less than %3").arg(QLatin1String(name), value, base::PlainNumber(least)));
            return fallback;
        }
        return *number;
    }

    int Whole(const char* name, int fallback, int least, int most)
    {
        const double number = Number(name, fallback, least);
        if (number != std::trunc(number) || number > most) {
            Fail(QStringLiteral("%1 \"%2\" is no whole number from %3 to %4")
                     .arg(QLatin1String(name), Raw(name)).arg(least).arg(most));
            return fallback;
        }
        return int(number);
    }

    // 1/0, yes/no, y/n, true/false; the column's default when empty.
    bool Flag(const char* name)
    {
        const QString value = Raw(name).toLower();
        if (value.isEmpty())
            return qstrcmp(layout_.Column(layout_.Slot(name)).fallback, "1") == 0;
        static const QStringList yes{"1", "yes", "y", "true"}, no{"0", "no", "n", "false"};
        if (yes.contains(value))
            return true;
        if (!no.contains(value))
            Fail(QStringLiteral("%1 \"%2\" is neither 1 nor 0").arg(QLatin1String(name), Raw(name)));
        return false;
    }

private:
    QString Raw(const char* name) const { return RawOfSlot(layout_.Slot(name)); }

    QString RawOfSlot(int slot) const
    {
        const int index = layout_.IndexOfSlot(slot);
        return index >= 0 && index < record_.fields.size() ? record_.fields[index].trimmed() : QString();
    }

    const Layout& layout_;
    const CsvRecord& record_;
    QStringList reasons_;
};

// The first column of every row of a query.
QSet<QString> FirstColumn(db::Connection& connection, const QString& query)
{
    QSet<QString> values;
    const db::RowSet rows = connection.Execute(query);
    for (const db::RowSet::Row& row : rows.Rows())
        values.insert(row.value(0).toString().trimmed());
    return values;
}

QSet<QString> UpperCase(const QSet<QString>& codes)
{
    QSet<QString> upper;
    for (const QString& code : codes)
        upper.insert(code.toUpper());
    return upper;
}

// Rows checked, or statements written, between two reports of progress.
constexpr qsizetype kProgressStep = 1000;

QString Pair(const QString& a, const QString& b)
{
    return a + QChar(0x1F) + b;
}

QString Number(double value)
{
    return base::PlainNumber(value);
}

QString Truth(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// Codes seen earlier in the file, with the line that gave each.
class SeenCodes {
public:
    // False (and the row failed) when the file gave the code (or the key
    // that stands for it) before.
    bool Add(Row& row, const QString& what, const QString& code, const QString& key = QString())
    {
        const QString& seen = key.isEmpty() ? code : key;
        const auto found = lines_.constFind(seen);
        if (found != lines_.cend()) {
            row.Fail(QStringLiteral("%1 %2 is on line %3 already").arg(what, code).arg(*found));
            return false;
        }
        lines_.insert(seen, row.Line());
        return true;
    }
    bool Contains(const QString& code) const { return lines_.contains(code); }

private:
    QHash<QString, int> lines_;
};

// A statement to run, with its values apart when it has `?` markers (the
// statements that every row of a large file gives).
struct Statement {
    Statement(QString text, QVariantList values = {}) : text(std::move(text)), values(std::move(values)) {}
    QString text;
    QVariantList values;
};

// NULL for an empty text.
QVariant TextOrNull(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// The checked rows of a file, as statements and users to write.
struct Plan {
    QVector<Statement> statements;
    QVector<NewUser> newUsers;
    QVector<NewUser> changedUsers;
    ImportSummary summary;
};

class Importer {
public:
    Importer(db::Connection& connection, const ImportOptions& options) : connection_(connection), options_(options) {}

    // Checks the rows; the bad ones go to `problems`.
    Plan Check(const KindSpec& spec, const Layout& layout, const QVector<CsvRecord>& records, QStringList& problems)
    {
        Load(spec.kind);
        Plan plan;
        plan.statements.reserve(records.size());
        ImportProgress progress{records.size() - 1, 0, 0, 0};
        for (qsizetype i = 1; i < records.size(); ++i) {
            Row row(layout, records[i]);
            switch (spec.kind) {
            case ImportKind::Terms: CheckTerms(row, plan); break;
            case ImportKind::Suppliers: CheckSupplier(row, plan); break;
            case ImportKind::Units: CheckUnit(row, plan); break;
            case ImportKind::Classifications: CheckClassification(row, plan); break;
            case ImportKind::GenericClasses: CheckGenericClass(row, plan); break;
            case ImportKind::Generics: CheckGeneric(row, plan); break;
            case ImportKind::Locations: CheckLocation(row, plan); break;
            case ImportKind::Items: CheckItem(row, plan); break;
            case ImportKind::Stock: CheckStock(row, plan); break;
            case ImportKind::Kits: CheckKit(row, plan); break;
            case ImportKind::Users: CheckUser(row, plan); break;
            }
            if (row.Bad())
                problems << QStringLiteral("line %1: %2").arg(row.Line()).arg(row.Reasons());
            progress.checked = i;
            if (options_.progress && (i % kProgressStep == 0 || i + 1 == records.size()))
                options_.progress(progress);
        }
        return plan;
    }

private:
    // What the rows of a kind are checked against: the codes stored so far.
    void Load(ImportKind kind)
    {
        const bool items = kind == ImportKind::Items;
        if (kind == ImportKind::Terms || kind == ImportKind::Suppliers)
            for (const QString& id : FirstColumn(connection_, QStringLiteral("Select TermsID From INVENTORY..tbInvTerms")))
                terms_.insert(id.toInt());
        if (kind == ImportKind::Suppliers)
            suppliers_ = FirstColumn(connection_, QStringLiteral("Select SupplierID From INVENTORY..tbInvSupplier"));
        if (kind == ImportKind::Units || items) {
            const db::RowSet units = connection_.Execute(
                QStringLiteral("Select UnitOfMeasureID, UnitOfMeasure From INVENTORY..tbInvUnitOfMeasure"));
            for (const db::RowSet::Row& unit : units.Rows()) {
                const int id = unit.value(0).toInt();
                const QString name = unit.value(1).toString().trimmed().toUpper();
                units_.insert(name, id);
                unitNames_.insert(id, name);
                nextUnit_ = std::max(nextUnit_, id + 1);
            }
        }
        if (kind == ImportKind::Classifications || items)
            classifications_ = UpperCase(FirstColumn(
                connection_, QStringLiteral("Select ItemClassificationID From INVENTORY..tbInvClassification")));
        if (kind == ImportKind::GenericClasses || kind == ImportKind::Generics)
            genericClasses_ = UpperCase(
                FirstColumn(connection_, QStringLiteral("Select Node_Key From INVENTORY..tbforClassification")));
        if (kind == ImportKind::Generics || items)
            generics_ = UpperCase(FirstColumn(connection_, QStringLiteral("Select GenericID From INVENTORY..tbforGeneric")));
        locations_ = FirstColumn(connection_, QStringLiteral("Select LocationID From INVENTORY..tbInvLocation"));
        if (kind == ImportKind::Items || kind == ImportKind::Stock || kind == ImportKind::Kits)
            LoadItems();
        if (items)
            suppliers_ = FirstColumn(connection_, QStringLiteral("Select SupplierID From INVENTORY..tbInvSupplier"));
        // Stock rows by item and location; kit components by kit and item.
        if (kind == ImportKind::Stock || kind == ImportKind::Kits) {
            const db::RowSet pairs = connection_.Execute(
                kind == ImportKind::Stock ? QStringLiteral("Select ItemID, LocationID From INVENTORY..tbInvent")
                                          : QStringLiteral("Select KitID, ItemID From INVENTORY..tbInvKit"));
            for (const db::RowSet::Row& pair : pairs.Rows())
                pairs_.insert(Pair(pair.value(0).toString().trimmed(), pair.value(1).toString().trimmed()));
        }
        if (kind == ImportKind::Users)
            for (const QString& id : FirstColumn(connection_, QStringLiteral("Select EmployeeID From Password..tbPasswordMain")))
                users_.insert(id.toUpper());
    }

    // An existing code is refused unless the import updates; true when the
    // row's code exists (and may be updated).
    bool Existing(Row& row, const QString& what, const QString& code, bool exists)
    {
        if (exists && !options_.update)
            row.Fail(QStringLiteral("%1 %2 exists already (--update changes it)").arg(what, code));
        return exists;
    }

    static void Count(Plan& plan, bool existing)
    {
        ++(existing ? plan.summary.updated : plan.summary.added);
    }

    static QString Status(bool inactive)
    {
        return db::Quote(inactive ? QStringLiteral("I") : QStringLiteral("A"));
    }

    void CheckTerms(Row& row, Plan& plan)
    {
        const int id = row.WholeCode("id", 1, std::numeric_limits<qint16>::max());
        const QString name = row.Text("name");
        const int days = row.Whole("days", 0, 0, std::numeric_limits<qint16>::max());
        const bool inactive = row.Flag("inactive");
        if (id > 0 && !seen_.Add(row, QStringLiteral("terms"), QString::number(id)))
            return;
        const bool existing = id > 0 && Existing(row, QStringLiteral("terms"), QString::number(id), terms_.contains(id));
        if (row.Bad())
            return;
        terms_.insert(id);
        if (existing)
            plan.statements << row.Update(QStringLiteral("INVENTORY..tbInvTerms"),
                                          {{"name", "Terms = " + db::Quote(name)},
                                           {"days", "NoDays = " + QString::number(days)},
                                           {"inactive", "Status = " + Status(inactive)}},
                                          "TermsID = " + QString::number(id));
        else
            plan.statements << "Insert INVENTORY..tbInvTerms (TermsID, Terms, NoDays, Status) Values ("
                                   + QString::number(id) + ", " + db::Quote(name) + ", " + QString::number(days) + ", "
                                   + Status(inactive) + ")";
        Count(plan, existing);
    }

    void CheckSupplier(Row& row, Plan& plan)
    {
        const QString id = row.Code("id");
        const QString name = row.Text("name");
        const QString type = row.Text("type");
        const QString address1 = row.Text("address1"), address2 = row.Text("address2"), address3 = row.Text("address3");
        const int termsId = row.WholeCode("terms_id", 1, std::numeric_limits<qint16>::max());
        const QString phone = row.Text("phone");
        const QString contact = row.Text("contact");
        const bool freeGoods = row.Flag("free_goods"), vat = row.Flag("vat"), inactive = row.Flag("inactive");
        if (termsId > 0 && !terms_.contains(termsId))
            row.Fail(QStringLiteral("unknown terms_id %1 (import the terms first)").arg(termsId));
        if (!id.isEmpty() && !seen_.Add(row, QStringLiteral("supplier"), id))
            return;
        const bool existing = !id.isEmpty() && Existing(row, QStringLiteral("supplier"), id, suppliers_.contains(id));
        if (row.Bad())
            return;
        suppliers_.insert(id);
        const QString terms = termsId > 0 ? QString::number(termsId) : QStringLiteral("Null");
        if (existing)
            plan.statements << row.Update(QStringLiteral("INVENTORY..tbInvSupplier"),
                                          {{"name", "SupplierName = " + db::Quote(name)},
                                           {"type", "SupplierType = " + db::QuoteOrNull(type)},
                                           {"address1", "Address1 = " + db::QuoteOrNull(address1)},
                                           {"address2", "Address2 = " + db::QuoteOrNull(address2)},
                                           {"address3", "Address3 = " + db::QuoteOrNull(address3)},
                                           {"terms_id", "TermsID = " + terms},
                                           {"phone", "TelNum = " + db::QuoteOrNull(phone)},
                                           {"contact", "ContactPerson = " + db::QuoteOrNull(contact)},
                                           {"free_goods", "FreeGoods = " + Truth(freeGoods)},
                                           {"vat", "isVAT = " + Truth(vat)},
                                           {"inactive", "Status = " + Status(inactive)}},
                                          "SupplierID = " + db::Quote(id));
        else
            plan.statements << "Insert INVENTORY..tbInvSupplier (SupplierID, SupplierName, Status, SupplierType, "
                                   "Address1, Address2, Address3, TermsID, TelNum, FreeGoods, isVAT, ContactPerson) "
                                   "Values ("
                                   + QStringList{db::Quote(id), db::Quote(name), Status(inactive), db::QuoteOrNull(type),
                                                 db::QuoteOrNull(address1), db::QuoteOrNull(address2),
                                                 db::QuoteOrNull(address3), terms, db::QuoteOrNull(phone),
                                                 Truth(freeGoods), Truth(vat), db::QuoteOrNull(contact)}
                                         .join(QStringLiteral(", "))
                                   + ")";
        Count(plan, existing);
    }

    void CheckUnit(Row& row, Plan& plan)
    {
        const int id = row.WholeCode("id", 1, std::numeric_limits<qint16>::max());
        const QString name = row.Text("name");
        const bool inactive = row.Flag("inactive");
        // An item names its unit: one unit to a name, whatever its case.
        const QString key = name.toUpper();
        const auto owner = units_.constFind(key);
        if (!name.isEmpty() && id > 0 && owner != units_.cend() && *owner != id)
            row.Fail(QStringLiteral("unit %1 is named %2 already").arg(*owner).arg(name));
        if (id > 0 && !seen_.Add(row, QStringLiteral("unit"), QString::number(id)))
            return;
        const bool existing = id > 0 && Existing(row, QStringLiteral("unit"), QString::number(id), unitNames_.contains(id));
        if (row.Bad())
            return;
        units_.remove(unitNames_.value(id));
        units_.insert(key, id);
        unitNames_.insert(id, key);
        if (existing)
            plan.statements << row.Update(QStringLiteral("INVENTORY..tbInvUnitOfMeasure"),
                                          {{"name", "UnitOfMeasure = " + db::Quote(name)},
                                           {"inactive", "Status = " + Status(inactive)}},
                                          "UnitOfMeasureID = " + QString::number(id));
        else
            plan.statements << "Insert INVENTORY..tbInvUnitOfMeasure (UnitOfMeasureID, UnitOfMeasure, Status) Values ("
                                   + QString::number(id) + ", " + db::Quote(name) + ", " + Status(inactive) + ")";
        Count(plan, existing);
    }

    void CheckClassification(Row& row, Plan& plan)
    {
        const QString id = row.Key("id");
        const QString name = row.Text("name");
        const bool fixedAsset = row.Flag("fixed_asset"), inactive = row.Flag("inactive");
        if (!id.isEmpty() && !seen_.Add(row, QStringLiteral("classification"), id, id.toUpper()))
            return;
        const bool existing = !id.isEmpty()
                              && Existing(row, QStringLiteral("classification"), id, classifications_.contains(id.toUpper()));
        if (row.Bad())
            return;
        if (existing)
            plan.statements << row.Update(QStringLiteral("INVENTORY..tbInvClassification"),
                                          {{"name", "ItemClassificationName = " + db::Quote(name)},
                                           {"fixed_asset", "IsFixedAsset = " + Truth(fixedAsset)},
                                           {"inactive", "Status = " + Status(inactive)}},
                                          "ItemClassificationID = " + db::Quote(id));
        else
            plan.statements << "Insert INVENTORY..tbInvClassification (ItemClassificationID, ItemClassificationName, "
                                   "Status, IsFixedAsset) Values ("
                                   + db::Quote(id) + ", " + db::Quote(name) + ", " + Status(inactive) + ", "
                                   + Truth(fixedAsset) + ")";
        Count(plan, existing);
    }

    void CheckGenericClass(Row& row, Plan& plan)
    {
        const QString key = row.Key("key");
        const QString name = row.Text("name");
        if (!key.isEmpty() && !seen_.Add(row, QStringLiteral("class"), key, key.toUpper()))
            return;
        const bool existing =
            !key.isEmpty() && Existing(row, QStringLiteral("class"), key, genericClasses_.contains(key.toUpper()));
        if (row.Bad())
            return;
        genericClasses_.insert(key.toUpper());
        if (existing)
            plan.statements << row.Update(QStringLiteral("INVENTORY..tbforClassification"),
                                          {{"name", "ClassificationName = " + db::Quote(name)}},
                                          "Node_Key = " + db::Quote(key));
        else
            plan.statements << "Insert INVENTORY..tbforClassification (Node_Key, ClassificationName) Values ("
                                   + db::Quote(key) + ", " + db::Quote(name) + ")";
        Count(plan, existing);
    }

    void CheckGeneric(Row& row, Plan& plan)
    {
        const QString id = row.Key("id");
        const QString name = row.Text("name");
        const QString node = row.Key("class");
        if (!node.isEmpty()) {
            // The program finds a generic's class by the part of its key
            // before the first point, or by its first character when it has
            // none (12 would be read as class 1).
            const qsizetype point = node.indexOf(QLatin1Char('.'));
            const QString top = point < 0 ? node.left(1) : node.left(point);
            if (!genericClasses_.contains(node.toUpper()))
                row.Fail(QStringLiteral("unknown class %1 (import the generic classes first)").arg(node));
            else if (point < 0 && node.size() > 1)
                row.Fail(QStringLiteral("class %1 is read as class %2: give a class within it, such as %1.1, or a key "
                                        "of one character")
                             .arg(node, top));
            else if (!genericClasses_.contains(top.toUpper()))
                row.Fail(QStringLiteral("class %1 lies in class %2, which is unknown").arg(node, top));
        }
        if (!id.isEmpty() && !seen_.Add(row, QStringLiteral("generic"), id, id.toUpper()))
            return;
        const bool existing = !id.isEmpty() && Existing(row, QStringLiteral("generic"), id, generics_.contains(id.toUpper()));
        if (row.Bad())
            return;
        if (existing)
            plan.statements << row.Update(QStringLiteral("INVENTORY..tbforGeneric"),
                                          {{"name", "GenericName = " + db::Quote(name)},
                                           {"class", "Node_Key = " + db::QuoteOrNull(node)}},
                                          "GenericID = " + db::Quote(id));
        else
            plan.statements << "Insert INVENTORY..tbforGeneric (GenericID, GenericName, Node_Key) Values ("
                                   + db::Quote(id) + ", " + db::Quote(name) + ", " + db::QuoteOrNull(node) + ")";
        Count(plan, existing);
    }

    void CheckLocation(Row& row, Plan& plan)
    {
        const QString id = row.Code("id");
        const QString name = row.Text("name");
        const QString type = row.Text("inventory_type");
        const bool warehouse = row.Flag("warehouse"), dispensing = row.Flag("dispensing"),
                   allowOrder = row.Flag("allow_order"), inactive = row.Flag("inactive");
        if (!id.isEmpty() && !seen_.Add(row, QStringLiteral("location"), id))
            return;
        const bool existing = !id.isEmpty() && Existing(row, QStringLiteral("location"), id, locations_.contains(id));
        if (row.Bad())
            return;
        const QString status = db::Quote(inactive ? QStringLiteral("I") : QStringLiteral("A"));
        if (existing)
            plan.statements << row.Update(QStringLiteral("INVENTORY..tbInvLocation"),
                                          {{"name", "Location = " + db::Quote(name)},
                                           {"inactive", "Status = " + status},
                                           {"warehouse", "isWarehouse = " + Truth(warehouse)},
                                           {"dispensing", "isDispensingArea = " + Truth(dispensing)},
                                           {"allow_order", "AllowOrder = " + Truth(allowOrder)},
                                           {"inventory_type", "InventoryType = " + db::QuoteOrNull(type)}},
                                          "LocationID = " + db::Quote(id));
        else
            plan.statements << "Insert INVENTORY..tbInvLocation (LocationID, Location, Status, isWarehouse, "
                                   "isDispensingArea, AllowOrder, InventoryType) Values ("
                                   + db::Quote(id) + ", " + db::Quote(name) + ", " + status + ", " + Truth(warehouse)
                                   + ", " + Truth(dispensing) + ", " + Truth(allowOrder) + ", " + db::QuoteOrNull(type) + ")";
        Count(plan, existing);
    }

    struct StoredItem { QString barcode; double averageCost = 0; double listCost = 0; QString kitId; };

    void LoadItems()
    {
        const db::RowSet rows = connection_.Execute(
            QStringLiteral("Select ItemID, BarCode, AverageCost, ListCost, KitID From INVENTORY..tbInvMaster"));
        items_.reserve(rows.RecordCount());
        for (const db::RowSet::Row& row : rows.Rows()) {
            const StoredItem item{row.value(1).toString().trimmed(), row.value(2).toDouble(), row.value(3).toDouble(),
                                  row.value(4).toString().trimmed()};
            const QString code = row.value(0).toString().trimmed();
            items_.insert(code, item);
            if (!item.barcode.isEmpty())
                barcodes_.insert(item.barcode, code);
        }
    }

    void CheckItem(Row& row, Plan& plan)
    {
        const QString code = row.Code("code", true);
        const QString name = row.Text("name");
        const QString description = row.Text("description");
        const QString unit = row.Text("unit");
        const int packing = row.Whole("packing", 1, 1, std::numeric_limits<qint16>::max());
        const double listCost = row.Number("list_cost", 0);
        const double averageCost = row.Number("average_cost", listCost);
        const QString barcode = row.Text("barcode");
        const QString supplierId = row.Code("supplier_id");
        const QString supplierName = row.Text("supplier_name");
        const int unitCode = row.WholeCode("unit_id", 1, std::numeric_limits<qint16>::max());
        const QString classification = row.Key("classification");
        const QString generic = row.Key("generic");
        const QString manufacturerId = row.Code("manufacturer_id");
        const bool inactive = row.Flag("inactive");

        if (row.Given("supplier_name") && !row.Given("supplier_id"))
            row.Fail(QStringLiteral("supplier_name needs a supplier_id"));
        else if (!supplierId.isEmpty() && supplierName.isEmpty() && !suppliers_.contains(supplierId))
            row.Fail(QStringLiteral("unknown supplier_id %1 (give supplier_name to add it)").arg(supplierId));
        if (row.Given("unit") && row.Given("unit_id"))
            row.Fail(QStringLiteral("unit and unit_id both given: give one"));
        else if (unitCode > 0 && !unitNames_.contains(unitCode))
            row.Fail(QStringLiteral("unknown unit_id %1 (import the units first)").arg(unitCode));
        if (!classification.isEmpty() && !classifications_.contains(classification.toUpper()))
            row.Fail(QStringLiteral("unknown classification %1 (import the classifications first)").arg(classification));
        if (!generic.isEmpty() && !generics_.contains(generic.toUpper()))
            row.Fail(QStringLiteral("unknown generic %1 (import the generic names first)").arg(generic));
        if (!manufacturerId.isEmpty() && !suppliers_.contains(manufacturerId)
            && !(manufacturerId == supplierId && !supplierName.isEmpty()))
            row.Fail(QStringLiteral("unknown manufacturer_id %1 (a supplier's id)").arg(manufacturerId));
        if (!barcode.isEmpty()) {
            // The code box looks a typed text up as a bar code first: a bar
            // code that is another item's code would hide that item.
            const QString owner = barcodes_.value(barcode);
            if (!owner.isEmpty() && owner != code)
                row.Fail(QStringLiteral("barcode %1 belongs to item %2 already").arg(barcode, owner));
            else if (barcode != code && (items_.contains(barcode) || seen_.Contains(barcode)))
                row.Fail(QStringLiteral("barcode %1 is an item's code").arg(barcode));
            else if (!barcodeLines_.contains(barcode))
                barcodeLines_.insert(barcode, row.Line());
            else
                row.Fail(QStringLiteral("barcode %1 is on line %2 already").arg(barcode).arg(barcodeLines_.value(barcode)));
        }
        if (!code.isEmpty()) {
            if (barcode != code && barcodeLines_.contains(code) && barcodeLines_.value(code) != row.Line())
                row.Fail(QStringLiteral("code %1 is the barcode on line %2").arg(code).arg(barcodeLines_.value(code)));
            else if (barcodes_.contains(code) && barcodes_.value(code) != code)
                row.Fail(QStringLiteral("code %1 is the barcode of item %2").arg(code, barcodes_.value(code)));
            if (!seen_.Add(row, QStringLiteral("item"), code))
                return;
        }
        const bool existing = !code.isEmpty() && Existing(row, QStringLiteral("item"), code, items_.contains(code));
        if (row.Bad())
            return;

        QVariant unitId;  // none
        if (unitCode > 0)
            unitId = unitCode;
        if (!unit.isEmpty()) {
            const QString key = unit.toUpper();
            if (!units_.contains(key)) {
                units_.insert(key, nextUnit_);
                plan.statements << "Insert INVENTORY..tbInvUnitOfMeasure (UnitOfMeasureID, UnitOfMeasure, Status) Values ("
                                       + QString::number(nextUnit_++) + ", " + db::Quote(unit) + ", 'A')";
            }
            unitId = units_.value(key);
        }
        if (!supplierName.isEmpty()) {
            if (suppliers_.contains(supplierId)) {
                plan.statements << "Update INVENTORY..tbInvSupplier Set SupplierName = " + db::Quote(supplierName)
                                       + " Where SupplierID = " + db::Quote(supplierId);
            } else {
                suppliers_.insert(supplierId);
                plan.statements << "Insert INVENTORY..tbInvSupplier (SupplierID, SupplierName, Status, FreeGoods, "
                                       "isVAT) Values (" + db::Quote(supplierId) + ", " + db::Quote(supplierName)
                                       + ", 'A', 0, 0)";
            }
        }
        const QString status = inactive ? QStringLiteral("1") : QStringLiteral("0");
        if (existing) {
            plan.statements << row.Update(QStringLiteral("INVENTORY..tbInvMaster"),
                                          {{"name", "ItemName = " + db::Quote(name)},
                                           {"description", "ItemDesc = " + db::Quote(description)},
                                           // One assignment, whichever of the two the file names.
                                           {row.Named("unit") ? "unit" : "unit_id",
                                            "UnitOfMeasureID = " + db::WithValuesWritten(QStringLiteral("?"), {unitId})},
                                           {"classification", "ItemClassificationID = " + db::QuoteOrNull(classification)},
                                           {"generic", "GenericID = " + db::QuoteOrNull(generic)},
                                           {"manufacturer_id", "ManufacturerID = " + db::QuoteOrNull(manufacturerId)},
                                           {"packing", "Packing = " + QString::number(packing)},
                                           {"list_cost", "ListCost = " + Number(listCost)},
                                           {"average_cost", "AverageCost = " + Number(averageCost)},
                                           {"barcode", "BarCode = " + db::QuoteOrNull(barcode)},
                                           {"supplier_id", "SupplierID = " + db::QuoteOrNull(supplierId)},
                                           {"inactive", "ItemStatus = " + status}},
                                          "ItemID = " + db::Quote(code));
        } else {
            static const QString insert = QStringLiteral(
                "Insert INVENTORY..tbInvMaster (ItemID, ItemName, ItemDesc, UnitOfMeasureID, Packing, ListCost, "
                "AverageCost, BarCode, SupplierID, ItemStatus, ItemClassificationID, GenericID, ManufacturerID, "
                "MarkupIn, MarkupOut, VAT, IsSeniorDiscounted, WithLotNumber, IncludeInStatement) "
                "Values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, 0, 0, 0, 0, 1)");
            plan.statements << Statement(insert, {code, name, description,
                                                  unitId,
                                                  packing, listCost, averageCost, TextOrNull(barcode),
                                                  TextOrNull(supplierId), inactive ? 1 : 0, TextOrNull(classification),
                                                  TextOrNull(generic), TextOrNull(manufacturerId)});
        }
        Count(plan, existing);
    }

    void CheckStock(Row& row, Plan& plan)
    {
        const QString item = row.Text("item");
        const QString location = row.Text("location");
        const double onHand = row.Number("on_hand", 0);
        const double least = row.Number("min", 0);
        const double most = row.Number("max", 0);
        const auto stored = items_.constFind(item);
        const double averageCost = row.Number("average_cost", stored == items_.cend() ? 0 : stored->averageCost);
        const bool inactive = row.Flag("inactive");
        if (!item.isEmpty() && stored == items_.cend())
            row.Fail(QStringLiteral("unknown item %1").arg(item));
        if (!location.isEmpty() && !locations_.contains(location))
            row.Fail(QStringLiteral("unknown location %1").arg(location));
        if (most > 0 && least > most)
            row.Fail(QStringLiteral("min %1 is more than max %2").arg(Number(least), Number(most)));
        if (row.Bad())
            return;
        if (!seen_.Add(row, QStringLiteral("stock of item %1 at location").arg(item), location, Pair(item, location)))
            return;
        const bool existing = Existing(row, QStringLiteral("stock of item %1 at location").arg(item), location,
                                       pairs_.contains(Pair(item, location)));
        if (row.Bad())
            return;
        const QString status = inactive ? QStringLiteral("1") : QStringLiteral("0");
        if (existing)
            plan.statements << row.Update(QStringLiteral("INVENTORY..tbInvent"),
                                          {{"item", "ItemID = " + db::Quote(item)},
                                           {"on_hand", "OnHand = " + Number(onHand)},
                                           {"min", "MinStockLevel = " + Number(least)},
                                           {"max", "MaxStock = " + Number(most)},
                                           {"average_cost", "AverageCost = " + Number(averageCost)},
                                           {"inactive", "ItemStatus = " + status}},
                                          "ItemID = " + db::Quote(item) + " and LocationID = " + db::Quote(location));
        else
            plan.statements << Statement(
                QStringLiteral("Insert INVENTORY..tbInvent (ItemID, LocationID, Markup_In, Markup_Out, OnHand, OnOrder, "
                               "ItemStatus, AverageCost, MinStockLevel, MaxStock, MinimumOrAverage, IsFloor, "
                               "IsCeiling, Floor, Ceiling, IsADSStock, ADSStock) Values "
                               "(?, ?, 0, 0, ?, 0, ?, ?, ?, ?, 0, 0, 0, 0, 0, 0, 0)"),
                {item, location, onHand, inactive ? 1 : 0, averageCost, least, most});
        Count(plan, existing);
    }

    void CheckKit(Row& row, Plan& plan)
    {
        const QString kit = row.Text("kit");
        const QString item = row.Text("item");
        const double qty = row.Number("qty", 0);
        const bool retail = row.Flag("retail");
        const bool inactive = row.Flag("inactive");
        const auto kitItem = items_.find(kit);
        const auto part = items_.constFind(item);
        if (!kit.isEmpty() && kitItem == items_.end())
            row.Fail(QStringLiteral("unknown kit item %1").arg(kit));
        if (!item.isEmpty() && part == items_.cend())
            row.Fail(QStringLiteral("unknown item %1").arg(item));
        if (!kit.isEmpty() && kit == item)
            row.Fail(QStringLiteral("a kit is no component of itself"));
        if (row.Given("qty") && qty <= 0)
            row.Fail(QStringLiteral("qty must be more than 0"));
        if (row.Bad())
            return;
        // The kit's rows are found through the kit item's KitID, its own
        // code unless it has one already.
        if (kitItem->kitId.isEmpty()) {
            kitItem->kitId = kit;
            plan.statements << "Update INVENTORY..tbInvMaster Set KitID = " + db::Quote(kit) + " Where ItemID = "
                                   + db::Quote(kit);
        }
        const QString kitId = kitItem->kitId;
        if (!seen_.Add(row, QStringLiteral("kit %1's component").arg(kit), item, Pair(kitId, item)))
            return;
        const bool existing = Existing(row, QStringLiteral("kit %1's component").arg(kit), item,
                                       pairs_.contains(Pair(kitId, item)));
        if (row.Bad())
            return;
        const QString retailType = db::Quote(retail ? QStringLiteral("Y") : QStringLiteral("N"));
        const QString active = db::Quote(inactive ? QStringLiteral("I") : QStringLiteral("A"));
        if (existing)
            plan.statements << row.Update(QStringLiteral("INVENTORY..tbInvKit"),
                                          {{"qty", "Qty = " + Number(qty)},
                                           {"item", "UnitCost = " + Number(part->listCost)},
                                           {"retail", "RetailType = " + retailType},
                                           {"inactive", "Active = " + active}},
                                          "KitID = " + db::Quote(kitId) + " and ItemID = " + db::Quote(item));
        else
            plan.statements << Statement(
                QStringLiteral("Insert INVENTORY..tbInvKit (KitID, ItemID, Qty, UnitCost, RetailType, Active) "
                               "Values (?, ?, ?, ?, ?, ?)"),
                {kitId, item, qty, part->listCost, retail ? QStringLiteral("Y") : QStringLiteral("N"),
                 inactive ? QStringLiteral("I") : QStringLiteral("A")});
        Count(plan, existing);
    }

    void CheckUser(Row& row, Plan& plan)
    {
        NewUser user;
        user.id = row.Text("id");
        user.lastName = row.Text("last_name");
        user.firstName = row.Text("first_name");
        user.password = row.Text("password");
        const QString unstorable = UnstorablePassword(user.password);
        if (!unstorable.isEmpty())
            row.Fail(unstorable);
        if (row.Flag("supervisor"))
            user.MakeVerifier();
        user.issueTessary = row.Flag("issuer");
        static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
        for (const QString& location : row.Text("departments").split(separators, Qt::SkipEmptyParts)) {
            if (!locations_.contains(location))
                row.Fail(QStringLiteral("unknown location %1").arg(location));
            else if (!user.locations.contains(location))
                user.locations << location;
        }
        if (user.id.isEmpty())
            return;
        // IDs compare without case, as the server compares them.
        if (!seen_.Add(row, QStringLiteral("user"), user.id.toUpper()))
            return;
        const bool existing = Existing(row, QStringLiteral("user"), user.id, users_.contains(user.id.toUpper()));
        if (row.Bad())
            return;
        (existing ? plan.changedUsers : plan.newUsers) << user;
        if (user.password.isEmpty() && !existing)
            plan.summary.withoutPassword << user.id;
        Count(plan, existing);
    }

    db::Connection& connection_;
    const ImportOptions& options_;
    SeenCodes seen_;
    QSet<QString> locations_;
    QHash<QString, StoredItem> items_;
    QHash<QString, QString> barcodes_;        // stored bar code -> item code
    QHash<QString, int> barcodeLines_;        // the file's bar codes
    QHash<QString, int> units_;               // upper-case name -> id
    QHash<int, QString> unitNames_;           // id -> upper-case name
    int nextUnit_ = 1;
    QSet<int> terms_;
    QSet<QString> suppliers_;
    QSet<QString> classifications_;           // upper-case codes, as the server compares them
    QSet<QString> genericClasses_;
    QSet<QString> generics_;
    QSet<QString> pairs_;                     // stock rows, or kit components
    QSet<QString> users_;                     // upper-case IDs
};

} // namespace

std::optional<ImportKind> ImportKindNamed(const QString& name)
{
    for (const KindSpec& spec : Kinds())
        if (name == QLatin1String(spec.name))
            return spec.kind;
    return std::nullopt;
}

QString ImportKindName(ImportKind kind)
{
    return QLatin1String(SpecOf(kind).name);
}

ImportSummary ImportRecords(db::Connection& connection, ImportKind kind, const QVector<CsvRecord>& records,
                            const ImportOptions& options)
{
    const KindSpec& spec = SpecOf(kind);
    if (records.isEmpty())
        throw AdminError(QStringLiteral("The file is empty: it needs a header row naming the columns."));
    QStringList problems;
    const Layout layout(spec, records.first(), problems);
    if (problems.isEmpty() && records.size() == 1)
        throw AdminError(QStringLiteral("The file has its header row and no records: there was nothing to import."));
    Plan plan;
    if (problems.isEmpty())
        plan = Importer(connection, options).Check(spec, layout, records, problems);
    if (!problems.isEmpty())
        throw AdminError(QStringLiteral("%1 bad %2; nothing was imported:\n  %3")
                             .arg(problems.size())
                             .arg(problems.size() == 1 ? QStringLiteral("row") : QStringLiteral("rows"),
                                  problems.join(QStringLiteral("\n  "))));
    if (options.dryRun)
        return plan.summary;

    ImportProgress progress{records.size() - 1, records.size() - 1, 0,
                            plan.statements.size() + plan.newUsers.size() + plan.changedUsers.size()};
    const auto written = [&] {
        ++progress.written;
        if (options.progress && (progress.written % kProgressStep == 0 || progress.written == progress.toWrite))
            options.progress(progress);
    };
    db::TransactionGuard transaction(connection);
    for (const Statement& statement : plan.statements) {
        if (statement.values.isEmpty())
            connection.Execute(statement.text);
        else
            connection.ExecuteWith(statement.text, statement.values);
        written();
    }
    for (const NewUser& user : plan.newUsers) {
        InsertUser(connection, user);
        written();
    }
    for (const NewUser& user : plan.changedUsers) {
        UpdateUser(connection, user);
        written();
    }
    transaction.Commit();
    return plan.summary;
}

ImportSummary ImportFile(db::Connection& connection, ImportKind kind, const QString& csvPath,
                         const ImportOptions& options)
{
    RecordsRead read;
    if (options.progress)
        read = [&](qsizetype records) {
            // The header is no row.
            options.progress({std::max<qsizetype>(records - 1, 0), 0, 0, 0});
        };
    return ImportRecords(connection, kind, ReadCsvFile(csvPath, read), options);
}

QString DescribeProgress(const ImportProgress& progress)
{
    QString text = QStringLiteral("%1 rows read").arg(progress.read);
    if (progress.checked > 0)
        text += QStringLiteral(", %1 checked").arg(progress.checked);
    if (progress.toWrite > 0)
        text += QStringLiteral(", %1 % written").arg(progress.written * 100 / progress.toWrite);
    return text;
}

ProgressLine::ProgressLine(std::FILE* stream) : ProgressLine(stream, isatty(fileno(stream)) == 1) {}

ProgressLine::ProgressLine(std::FILE* stream, bool terminal) : stream_(stream), terminal_(terminal) {}

ProgressLine::~ProgressLine()
{
    Clear();
}

void ProgressLine::Show(const ImportProgress& progress)
{
    if (!terminal_)
        return;
    const QString text = DescribeProgress(progress);
    if (text == shown_)
        return;
    // Written over the last one, padded to cover it.
    const QByteArray line = "\r" + text.leftJustified(shown_.size()).toLocal8Bit();
    std::fputs(line.constData(), stream_);
    std::fflush(stream_);
    shown_ = text;
}

void ProgressLine::Clear()
{
    if (!terminal_ || shown_.isEmpty())
        return;
    std::fputs(("\r" + QString(shown_.size(), QLatin1Char(' ')) + "\r").toLocal8Bit().constData(), stream_);
    std::fflush(stream_);
    shown_.clear();
}

std::function<void(const ImportProgress&)> ProgressLine::Reporter()
{
    return [this](const ImportProgress& progress) { Show(progress); };
}

QString DescribeImport(ImportKind kind, const ImportSummary& summary, const ImportOptions& options,
                       const QString& target)
{
    const QString what = QLatin1String(SpecOf(kind).what);
    QString text = options.dryRun
                       ? QStringLiteral("Checked: %1 new and %2 updated %3 would be imported; nothing was written.\n")
                       : QStringLiteral("Imported %1 new and %2 updated %3.\n");
    text = text.arg(summary.added).arg(summary.updated).arg(what);
    if (!summary.withoutPassword.isEmpty()) {
        text += QStringLiteral("These users have no password and cannot log in until one is set:\n");
        for (const QString& id : summary.withoutPassword)
            text += QStringLiteral("  tessary-admin user passwd %1 %2\n").arg(target, id);
    }
    return text;
}

QString ImportColumnsHelp()
{
    QString text;
    for (const KindSpec& spec : Kinds()) {
        text += QStringLiteral("    %1:\n").arg(QLatin1String(spec.name));
        for (const ColumnSpec& column : spec.columns) {
            QString line = QStringLiteral("      %1").arg(QLatin1String(column.name), -15);
            QStringList notes;
            if (column.required)
                notes << QStringLiteral("required");
            else if (*column.fallback)
                notes << QStringLiteral("default %1").arg(QLatin1String(column.fallback));
            if (column.table && ColumnLength(column.table, column.column) > 0)
                notes << QStringLiteral("up to %1 characters").arg(ColumnLength(column.table, column.column));
            if (*column.help)
                notes << QLatin1String(column.help);
            text += line + notes.join(QStringLiteral("; ")) + QLatin1Char('\n');
        }
    }
    return text;
}

} // namespace admin
