#pragma once

#include "db/Connection.h"
#include "records/RecordServices.h"
#include "records/RowReader.h"

#include <QString>
#include <QStringView>
#include <exception>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace records {

// The kinds of member that an error source text names.
enum class MemberKind { Method, PropertyLet, PropertyGet, PropertySet };

// A truth value in a statement: "1" or "0".
inline QString TruthText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// The description of any failure, as a message box shows it.
QString Describe(const std::exception& failure);

class Record;

// A write needs a sub-record that was neither set nor read.
class MissingSubRecord : public std::runtime_error {
public:
    explicit MissingSubRecord(const char* name)
        : std::runtime_error(std::string("The ") + name + " record was neither set nor read before the update.") {}
};

namespace detail {
// What a record releases when it loads another row.
class SubRecordSlot {
public:
    virtual void Release() = 0;

protected:
    ~SubRecordSlot() = default;
};
} // namespace detail

// A record that this record refers to (the item's location, the master
// record's supplier): made on the first read with the owner's connection
// and services, loaded with a code the owner holds, then kept until the
// owner loads another row or a set replaces it. Declared as a member of the
// owning record: `SubRecord<clsLocation> location_{*this};`.
template <class R>
class SubRecord final : public detail::SubRecordSlot {
public:
    explicit SubRecord(Record& owner);
    SubRecord(const SubRecord&) = delete;
    SubRecord& operator=(const SubRecord&) = delete;

    // The kept record, or a new one loaded by `load` (for instance
    // `[&](clsLocation& l) { l.LoadLocation(code_); }`). The load's result is
    // not looked at: a code without a row gives a reset record. A failing
    // load keeps nothing, so the next read tries again.
    template <class Load>
    std::shared_ptr<R> Get(Load&& load);
    void Set(std::shared_ptr<R> record) { record_ = std::move(record); }
    void Release() override { record_.reset(); }
    // The kept record for a write that needs it: throws MissingSubRecord
    // (naming it) when it was never set or read.
    const R& Required(const char* name) const;

private:
    Record& owner_;
    std::shared_ptr<R> record_;
};

// The shape every record class has: one row of one table, loaded by its
// key, written back by an insert-or-update, its columns as plain public
// members. A class gives its statements, its reset, the columns it fills
// (Reset and Fill below) and where it departs from the shape; the
// skeletons here do the rest.
//
// Failures: a member that carries an error source text runs its body
// through Raising, which turns any failure into the record error with the
// text "<class>:<member> <kind>". Plain members that cannot fail are plain
// data members.
//
// A record class, in outline:
//
//   class clsThing : public Record {
//   public:
//       explicit clsThing(RecordServices s) : Record(s, QStringLiteral("clsThing")) { Reset(); }
//       QString Code;
//       QString Description;
//       bool LoadThing(const QString& code)
//       {
//           return Raising(u"LoadThing", MemberKind::Method, [&] {
//               return LoadByKey(code, Code, "Select * From INVENTORY..tbThing Where Code = " + db::Quote(code));
//           });
//       }
//   private:
//       void Reset() override { Code.clear(); Description.clear(); }
//       void Fill(const RowReader& row) override
//       {
//           Code = row.Text("Code");
//           Description = row.Text("Description", QString());
//       }
//   };
class Record {
public:
    virtual ~Record() = default;
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

    // The connection the record reads and writes on. The caller keeps it
    // open for the record's life; the record never opens or closes it.
    void ActiveConnection(db::Connection& connection) { connection_ = &connection; }

protected:
    Record(RecordServices services, QString className);

    const RecordServices& Services() const { return services_; }
    // The connection given through ActiveConnection; throws db::DbError
    // when none was given.
    db::Connection& Connection() const;

    // "clsLocation:Update Method" and the like.
    QString ErrorSource(QStringView member, MemberKind kind) const;

    enum class OnFailure {
        Raise,                     // raise the record error
        TellThenRaise,             // first show the failure's description (OK, no icon)
        RaiseWithDescription,      // the source text, " :" and the description
        TellThenRaiseAfterDescription  // shown, then the description right before the source text
    };
    // Runs a member's body; any failure inside becomes the record error
    // with the member's error source text.
    template <class Body>
    auto Raising(QStringView member, MemberKind kind, Body&& body, OnFailure onFailure = OnFailure::Raise)
        -> decltype(body());

    // --- Load ---------------------------------------------------------------

    // Puts the members of the class's reset back to their start values.
    // Constructors call it too, so a new object starts reset.
    virtual void Reset() = 0;
    // Fills the members from a found row, in the class's column order.
    virtual void Fill(const RowReader& row) = 0;
    // The connection the select runs on: ActiveConnection unless the class
    // says otherwise.
    virtual db::Connection& LoadConnection() { return Connection(); }

    // The load skeleton: the loaded key again gives true and reads nothing;
    // otherwise the kept sub-records go, a blank key (blanks only, or 0)
    // resets and gives true, and any other key runs the select (LoadRow).
    template <class Key>
    bool LoadByKey(const Key& key, const Key& loadedKey, const QString& select);
    // Runs the select: no row resets and gives false, else the first row
    // fills the members and gives true.
    bool LoadRow(const QString& select);
    void ReleaseSubRecords();

    // --- Update -------------------------------------------------------------

    struct Upsert {
        QString existing;                                  // finds the object's row by its key
        std::function<QString()> update;                   // when the row exists
        std::function<QString(db::Connection&)> newCode;   // the code of a new row
        std::function<QString(const QString& newCode)> insert;
    };
    // The insert-or-update skeleton: an update statement when the existence
    // query finds the row, otherwise an insert under a new code; runs it and
    // gives true. The existence query, the new code and the statement run in
    // one write transaction (unless the caller holds one), so two clients
    // storing new rows at once never take the same code. Whether the new
    // code goes into the object is the insert builder's business.
    bool InsertOrUpdate(const Upsert& statements);

    // How a table whose codes are whole numbers stored as text numbers a
    // new row.
    struct WholeCodeQuery {
        QString highestPlusOne;  // the server's next-code query
        QString column;          // its result column
        QString everyCode;       // every stored code, counted here when the server cannot
        QString ignoredLetter;   // removed from each code before it is read ("P")
    };
    // The server's highest code plus one ("1" for an empty table or a NULL
    // maximum). When the server refuses the query (a stored code is no whole
    // number, "S001") or its answer is no whole number (four characters
    // could not hold it), the highest whole code plus one is counted here
    // instead, as request numbering does: never a code already stored.
    static QString NextWholeCode(db::Connection& connection, const WholeCodeQuery& query);
    // A 16-bit code column's next code from the server's query (its column
    // NewCode), in the Str form: " 1" for an empty table or a NULL maximum.
    static QString NextInt16Code(db::Connection& connection, const QString& query);
    // The leading number of a picked code as a 16-bit code.
    static qint16 LeadingInt16(const QString& code);

    // --- Search -------------------------------------------------------------

    // The search skeleton: `lookup` runs the lookup dialog; the code picked
    // there is loaded by `load`, whose result is the search's; no pick gives
    // false. Failures pass unchanged.
    bool SearchWith(const std::function<QString()>& lookup, const std::function<bool(const QString&)>& load);

private:
    template <class R>
    friend class SubRecord;

    // Blanks only for a text key, 0 for a numeric one.
    template <class Key>
    static bool IsBlankKey(const Key& key)
    {
        if constexpr (std::is_arithmetic_v<Key>)
            return key == 0;
        else
            return IsBlankText(key);
    }
    static bool IsBlankText(const QString& key);
    [[noreturn]] void Fail(QStringView member, MemberKind kind, const std::exception& failure,
                           OnFailure onFailure) const;

    RecordServices services_;
    QString className_;
    db::Connection* connection_ = nullptr;
    std::vector<detail::SubRecordSlot*> subRecords_;
};

template <class Body>
auto Record::Raising(QStringView member, MemberKind kind, Body&& body, OnFailure onFailure) -> decltype(body())
{
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception& failure) {
        Fail(member, kind, failure, onFailure);
    }
}

template <class Key>
bool Record::LoadByKey(const Key& key, const Key& loadedKey, const QString& select)
{
    if (key == loadedKey)
        return true;
    ReleaseSubRecords();
    if (IsBlankKey(key)) {
        Reset();
        return true;
    }
    return LoadRow(select);
}

template <class R>
const R& SubRecord<R>::Required(const char* name) const
{
    if (!record_)
        throw MissingSubRecord(name);
    return *record_;
}

template <class R>
SubRecord<R>::SubRecord(Record& owner) : owner_(owner)
{
    owner.subRecords_.push_back(this);
}

template <class R>
template <class Load>
std::shared_ptr<R> SubRecord<R>::Get(Load&& load)
{
    if (!record_) {
        auto record = std::make_shared<R>(owner_.services_);
        static_cast<Record&>(*record).connection_ = owner_.connection_;
        std::forward<Load>(load)(*record);
        record_ = std::move(record);
    }
    return record_;
}

} // namespace records
