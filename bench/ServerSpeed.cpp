// The program's hot statements on PostgreSQL, each beside the best
// hand-written SQL for the same job run through libpq in the same iteration:
// a keystroke of the product search to its first screenful, the three
// request lists, the new number and a save of 500 lines, at 20 000 and at
// 200 000 stored requests, through Qt's PostgreSQL driver and through ODBC.
//
// The bench starts a PostgreSQL server of its own as the tests do
// (scripts/pg-test-server.sh), with fsync and synchronous commits on, and
// builds the large site there (the site of LargeSite.h: 100 000 items, 50
// locations, about 940 000 stock rows). That takes a few minutes.
// TESSARY_BENCH_SQL=1 prints the translated statements beside their plans.
#include "db/DbError.h"
#include "db/PgTranslator.h"
#include "db/ServerConnection.h"
#include "requests/RequestQueries.h"
#include "requests/RequestStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QUrl>
#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>

namespace {

constexpr int kItems = 100000;
constexpr int kLocations = 50;
constexpr int kStores = 5;
constexpr int kPending = 2000;
constexpr int kScreenful = 32;
constexpr int kSaveLines = 500;
const QString kDatabase = QStringLiteral("tessary_bench");

[[noreturn]] void Die(const QString& what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

// The bench's own server, stopped when the program ends.
class Server {
public:
    static Server& Get()
    {
        static Server server;
        return server;
    }
    ~Server() { Script(QStringLiteral("stop")); }
    const QString& Url() const { return url_; }

private:
    Server()
    {
        url_ = Script(QStringLiteral("start")).trimmed();
        if (!url_.startsWith(QLatin1String("postgresql://")))
            Die(QStringLiteral("Could not start PostgreSQL: ") + url_);
    }
    QString Script(const QString& action)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TESSARY_PG_DURABLE"), QStringLiteral("1"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral("bash"), {QStringLiteral(TESSARY_SOURCE_DIR "/scripts/pg-test-server.sh"), action,
                                              QStringLiteral(TESSARY_BINARY_DIR "/pgbench")});
        process.waitForFinished(180000);
        return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    }
    QString url_;
};

QString UrlOf(const QString& database)
{
    QUrl url(Server::Get().Url());
    url.setPath(QLatin1Char('/') + database);
    return url.toString();
}

// libpq, as a hand-written program uses it: one statement, every value read.
class Raw {
public:
    Raw()
    {
        const QUrl url(UrlOf(kDatabase));
        const QString conninfo = QStringLiteral("host=%1 port=%2 user=%3 dbname=%4")
                                     .arg(url.host()).arg(url.port()).arg(url.userName(), kDatabase);
        connection_ = PQconnectdb(conninfo.toUtf8().constData());
        if (PQstatus(connection_) != CONNECTION_OK)
            Die(QString::fromUtf8(PQerrorMessage(connection_)));
        // Tables by their schemas; = on texts is citext's own.
        Exec("SET search_path = public");
        // As the program's sessions: compiling these short statements to
        // machine code only costs time.
        Exec("SET jit = off");
    }
    ~Raw() { PQfinish(connection_); }

    // Runs one statement and reads every value; gives the number of rows.
    int Exec(const QByteArray& sql)
    {
        PGresult* result = PQexec(connection_, sql.constData());
        const ExecStatusType status = PQresultStatus(result);
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
            Die(QStringLiteral("%1\n%2").arg(QString::fromUtf8(PQresultErrorMessage(result)), QString::fromUtf8(sql)));
        const int rows = PQntuples(result);
        const int columns = PQnfields(result);
        std::size_t touched = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                touched += std::strlen(PQgetvalue(result, r, c));
        benchmark::DoNotOptimize(touched);
        PQclear(result);
        return rows;
    }
    QByteArray Value(const QByteArray& sql)
    {
        PGresult* result = PQexec(connection_, sql.constData());
        if (PQresultStatus(result) != PGRES_TUPLES_OK)
            Die(QString::fromUtf8(PQresultErrorMessage(result)));
        QByteArray value = PQntuples(result) ? QByteArray(PQgetvalue(result, 0, 0)) : QByteArray();
        PQclear(result);
        return value;
    }

private:
    PGconn* connection_ = nullptr;
};

// The large site on the bench's server: made once; its request history is
// made anew whenever a benchmark asks for another length.
class Site {
public:
    static Site& Get()
    {
        static Site site;
        return site;
    }

    void UseRequests(int requests)
    {
        if (requests_ == requests)
            return;
        requests_ = requests;
        raw_->Exec("TRUNCATE inventory.tbinvwithdrawrequest");
        raw_->Exec(QStringLiteral(
                       "INSERT INTO inventory.tbinvwithdrawrequest (documentnumber, itemid, quantity, unitcost, forretail, "
                       "isads, locationid, targetlocationid, transdate, userid, status, verifiedby) "
                       "SELECT i::text, 'P' || lpad((((i::bigint * 3 + l) %% %2) + 1)::text, 6, '0'), 1, 2.5, 'Y', 0, "
                       "(1 + i %% %3)::text, (%3 + 1 + i %% (%4 - %3))::text, "
                       "((2016 + i * 10 / %1)::text || '-' || lpad((1 + i %% 12)::text, 2, '0') || '-' || "
                       "lpad((1 + i %% 28)::text, 2, '0') || ' 10:00:00')::timestamp, 'JDELA', "
                       "CASE WHEN i %% %5 = 0 THEN NULL ELSE 'P' END, CASE WHEN i %% %5 = 0 THEN NULL ELSE 'MSANTOS' END "
                       "FROM generate_series(1, %1) i, generate_series(0, 2) l")
                       .arg(requests).arg(kItems).arg(kStores).arg(kLocations).arg(requests / kPending)
                       .replace(QLatin1String("%%"), QLatin1String("%"))
                       .toUtf8());
        raw_->Exec("VACUUM ANALYZE inventory.tbinvwithdrawrequest");
    }
    int Requests() const { return requests_; }

    Raw& RawSide() { return *raw_; }
    // The program's connection, through Qt's PostgreSQL driver or ODBC.
    db::ServerConnection& Program(bool odbc)
    {
        std::unique_ptr<db::ServerConnection>& c = odbc ? odbc_ : native_;
        if (!c) {
            db::ServerLogin login = db::ServerLogin::FromUrl(UrlOf(kDatabase));
            if (odbc) {
                login.driver = db::ServerLogin::Driver::Odbc;
                login.odbcDriver = QStringLiteral("PostgreSQL Unicode");
            }
            c = db::ServerConnection::Open(login);
        }
        return *c;
    }

private:
    Site()
    {
        auto admin = db::ServerConnection::Open(db::ServerLogin::FromUrl(Server::Get().Url()));
        admin->ExecuteNative(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(kDatabase));
        admin->ExecuteNative(QStringLiteral("CREATE DATABASE %1").arg(kDatabase));
        db::ServerConnection::Open(db::ServerLogin::FromUrl(UrlOf(kDatabase)))->CreateSchema();
        raw_ = std::make_unique<Raw>();
        Raw& raw = *raw_;
        raw.Exec(QStringLiteral("INSERT INTO inventory.tbinvlocation (locationid, location, status, iswarehouse, "
                                "isdispensingarea, alloworder) SELECT i::text, CASE WHEN i <= %2 THEN 'STORE ' ELSE "
                                "'WARD ' END || i, 'A', (i <= %2)::int, 0, (i <= %2)::int FROM generate_series(1, %1) i")
                     .arg(kLocations).arg(kStores).toUtf8());
        raw.Exec("INSERT INTO inventory.tbinvsupplier (supplierid, suppliername, status) "
                 "SELECT i::text, 'SUPPLIER ' || i, 'A' FROM generate_series(1, 200) i");
        raw.Exec("INSERT INTO inventory.tbinvclassification (itemclassificationid, itemclassificationname, status, "
                 "isfixedasset) SELECT i::text, 'CLASS ' || i, 'A', (i = 20)::int FROM generate_series(1, 20) i");
        raw.Exec("INSERT INTO inventory.tbinvuserlocation (userid, locationid) VALUES ('JDELA', '1'), ('JDELA', '12')");
        raw.Exec("INSERT INTO password.tbpasswordmain (employeeid, lastname, firstname) VALUES ('JDELA', 'DELA CRUZ', 'JUANA')");
        raw.Exec(QStringLiteral(
                     "INSERT INTO inventory.tbinvmaster (itemid, itemname, itemdesc, supplierid, markupin, markupout, "
                     "listcost, itemstatus, packing, barcode, itemclassificationid, unitofmeasureid, averagecost) "
                     "SELECT 'P' || lpad(i::text, 6, '0'), (ARRAY['ACETAMINOPHEN','ALCOHOL','AMOXICILLIN','AMPICILLIN',"
                     "'BANDAGE','BETADINE','CATHETER','CEFTRIAXONE','COTTON','DEXTROSE','DIAZEPAM','ENOXAPARIN',"
                     "'FUROSEMIDE','GAUZE','GLOVES','HEPARIN','IBUPROFEN','INSULIN','KETOROLAC','LIDOCAINE','LOSARTAN',"
                     "'METFORMIN','MORPHINE','NEEDLE','NITROGLYCERIN','OMEPRAZOLE','OXYTOCIN','PARACETAMOL','PLASTER',"
                     "'RANITIDINE','SALINE','SUTURE','SYRINGE','TRAMADOL','URINE BAG','VANCOMYCIN','VITAMIN','WATER',"
                     "'XYLOCAINE','ZINC'])[(i / 10 + 3 * i) %% 40 + 1] || ' ' || (i::bigint * 7919 %% 100000), "
                     "(i %% 9 + 1) * 50 || ' MG', (1 + i %% 200)::text, 20, 30, 10 + i %% 90, "
                     "CASE WHEN i %% 50 = 0 THEN 1 ELSE 0 END, 1 + i %% 12, '48' || lpad(i::text, 11, '0'), "
                     "(1 + i %% 20)::text, 1, 9.5 FROM generate_series(1, %1) i")
                     .arg(kItems)
                     .replace(QLatin1String("%%"), QLatin1String("%"))
                     .toUtf8());
        raw.Exec(QStringLiteral(
                     "INSERT INTO inventory.tbinvent (itemid, locationid, markup_in, markup_out, onhand, itemstatus, "
                     "minstocklevel, maxstock, averagecost) SELECT 'P' || lpad(m::text, 6, '0'), l::text, 20, 30, "
                     "(m + l) %% 40, CASE WHEN (m + l) %% 97 = 0 THEN 1 ELSE 0 END, 5, 50, 9.5 "
                     "FROM generate_series(1, %1) m, generate_series(1, %2) l WHERE l <= %3 OR (l < %2 AND "
                     "((m::bigint * l * 2654435761) >> 13) %% 10 = 0) OR (l = %2 AND m %% 300 = 7)")
                     .arg(kItems).arg(kLocations).arg(kStores)
                     .replace(QLatin1String("%%"), QLatin1String("%"))
                     .toUtf8());
        raw.Exec("VACUUM ANALYZE");
        std::fprintf(stderr, "site: %s items, %s stock rows\n", raw.Value("SELECT count(*) FROM inventory.tbinvmaster").constData(),
                     raw.Value("SELECT count(*) FROM inventory.tbinvent").constData());
    }

    std::unique_ptr<Raw> raw_;
    std::unique_ptr<db::ServerConnection> native_;
    std::unique_ptr<db::ServerConnection> odbc_;
    int requests_ = 0;
};

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

// The program's figure beside the reference's, both timed in every
// iteration, each going first in turn. Counters: ratio (ours / raw), ms and
// raw_ms (means); the iteration time is the program's.
void Beside(benchmark::State& state, const std::function<void()>& ours, const std::function<void()>& raw,
            const char* rawName = "raw_ms", const char* ratioName = "ratio")
{
    double oursTotal = 0;
    double rawTotal = 0;
    bool oursFirst = true;
    for (auto _ : state) {
        double o = 0;
        double r = 0;
        for (int k = 0; k < 2; ++k) {
            const bool runOurs = (k == 0) == oursFirst;
            const Clock::time_point start = Clock::now();
            runOurs ? ours() : raw();
            (runOurs ? o : r) = Seconds(start, Clock::now());
        }
        oursFirst = !oursFirst;
        state.SetIterationTime(o);
        oursTotal += o;
        rawTotal += r;
    }
    const double n = double(state.iterations());
    state.counters["ms"] = oursTotal / n * 1000;
    state.counters[rawName] = rawTotal / n * 1000;
    state.counters[ratioName] = oursTotal / rawTotal;
}

// The program's figures at 20 000 requests, for the growth of the same
// benchmark at 200 000.
std::map<std::string, double>& ShortHistory()
{
    static std::map<std::string, double> figures;
    return figures;
}

// A list's result may itself grow with the history (every processed
// request is listed): `growth_per_row` is its growth over that of its rows.
void RecordGrowth(benchmark::State& state, const std::string& key, int rows = 0)
{
    if (Site::Get().Requests() == 20000) {
        ShortHistory()[key] = state.counters["ms"];
        ShortHistory()[key + "/rows"] = rows;
    } else if (ShortHistory().count(key)) {
        state.counters["growth"] = state.counters["ms"] / ShortHistory()[key];
        if (rows > 0 && ShortHistory()[key + "/rows"] > 0)
            state.counters["growth_per_row"] = state.counters["growth"] / (rows / ShortHistory()[key + "/rows"]);
    }
}

// --- the product search ---------------------------------------------------

QString WholeFileSearch()
{
    return QStringLiteral("Select A.ItemID as Code, A.ItemName As [Product Name], A.ItemDesc As Description, "
                          "B.SupplierName As Supplier, A.MarkupIn As [In-Patient Markup], A.MarkupOut As [Out-Patient Markup],"
                          "Case when A.ItemStatus = 1 then 'Inactive' Else 'Active' End  As Status, A.Packing, A.ListCost,  "
                          "C.ItemClassificationName From INVENTORY..tbInvMaster A "
                          "Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID "
                          "Left Outer Join INVENTORY..tbInvClassification C ON A.ItemClassificationID = C.ItemClassificationID "
                          " Where ( A.ItemStatus = 0 or A.ItemStatus is Null ) and IsNull(C.IsFixedAsset,0) <> 1 and "
                          " A.ItemName Like ? Order by A.ItemName, A.ItemDesc");
}

QString LocationSearch()
{
    return QStringLiteral("Select A.ItemID as Code, A.ItemName As [Product Name], A.ItemDesc As Description, "
                          "B.SupplierName As Supplier, D.Markup_In As [In-Patient Markup], D.Markup_Out As [Out-Patient Markup],"
                          "Case when D.ItemStatus = 1 then 'Inactive' Else 'Active' end  As Status, A.Packing, A.ListCost,  "
                          "C.ItemClassificationName From INVENTORY..tbInvMaster A "
                          "Left Outer Join INVENTORY..tbInvent D ON A.ItemID = D.ItemID "
                          "Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID "
                          "Left Outer join INVENTORY..tbInvClassification C ON A.ItemClassificationID = C.ItemClassificationID "
                          "Where D.LocationID = ? and D.ItemID in (Select itemID from INVENTORY..tbinvent where locationid = ? "
                          "and itemStatus = 0) and  ( D.ItemStatus = 0 or D.ItemStatus is Null ) and ( A.ItemStatus = 0 or "
                          "A.ItemStatus is Null ) and IsNull(C.IsFixedAsset,0) <> 1 and  A.ItemName Like ? "
                          "Order by A.ItemName, A.ItemDesc");
}

// The hand-written first screenful: the folded-name index read in order
// from the prefix, stock and the ward's list by their keys, LIMIT.
QByteArray RawSearch(bool atLocation, const QString& pattern)
{
    const QString folded = QString(pattern).replace(QLatin1Char('\''), QLatin1String("''")).toLower();
    QString sql = atLocation
        ? QStringLiteral("SELECT a.itemid, a.itemname, a.itemdesc, b.suppliername, d.markup_in, d.markup_out, CASE WHEN "
                         "d.itemstatus = 1 THEN 'Inactive' ELSE 'Active' END, a.packing, a.listcost, c.itemclassificationname "
                         "FROM inventory.tbinvmaster a JOIN inventory.tbinvent d ON d.itemid = a.itemid AND d.locationid = '1' "
                         "LEFT JOIN inventory.tbinvsupplier b ON b.supplierid = a.supplierid "
                         "LEFT JOIN inventory.tbinvclassification c ON c.itemclassificationid = a.itemclassificationid "
                         "WHERE EXISTS (SELECT 1 FROM inventory.tbinvent w WHERE w.itemid = a.itemid AND w.locationid = '12' "
                         "AND w.itemstatus = 0) AND (d.itemstatus = 0 OR d.itemstatus IS NULL) AND ")
        : QStringLiteral("SELECT a.itemid, a.itemname, a.itemdesc, b.suppliername, a.markupin, a.markupout, CASE WHEN "
                         "a.itemstatus = 1 THEN 'Inactive' ELSE 'Active' END, a.packing, a.listcost, c.itemclassificationname "
                         "FROM inventory.tbinvmaster a LEFT JOIN inventory.tbinvsupplier b ON b.supplierid = a.supplierid "
                         "LEFT JOIN inventory.tbinvclassification c ON c.itemclassificationid = a.itemclassificationid WHERE ");
    sql += QStringLiteral("(a.itemstatus = 0 OR a.itemstatus IS NULL) AND coalesce(c.isfixedasset, 0) <> 1 AND "
                          "lower(a.itemname::text) COLLATE \"C\" LIKE '%1' ORDER BY lower(a.itemname::text) COLLATE \"C\", "
                          "lower(a.itemdesc::text) COLLATE \"C\" LIMIT %2")
               .arg(folded)
               .arg(kScreenful);
    return sql.toUtf8();
}

void Search(benchmark::State& state, bool atLocation, QString text, bool odbc)
{
    Site& site = Site::Get();
    db::Connection& connection = site.Program(odbc);
    const QString pattern = text.trimmed().toUpper() + QLatin1Char('%');
    const QString statement = atLocation ? LocationSearch() : WholeFileSearch();
    const QVariantList values = atLocation ? QVariantList{"1", "12", pattern} : QVariantList{pattern};
    const QByteArray raw = RawSearch(atLocation, pattern);
    Beside(
        state,
        [&] {
            // As the dialog and the grid read: a row, a second, the screenful;
            // the cursor goes at the next keystroke.
            std::unique_ptr<db::Cursor> cursor = connection.OpenCursorWith(statement, values);
            cursor->Reach(1);
            cursor->Reach(2);
            cursor->Reach(kScreenful);
        },
        [&] { site.RawSide().Exec(raw); });
}

// --- the request lists, the number, the save ------------------------------

QByteArray RawList(bool pending, bool verified)
{
    QString sql = QStringLiteral(
        "SELECT DISTINCT a.documentnumber, b.location, c.location, a.transdate, (SELECT p.lastname || ', ' || p.firstname "
        "FROM password.tbpasswordmain p WHERE p.employeeid = a.userid LIMIT 1), a.targetlocationid "
        "FROM inventory.tbinvwithdrawrequest a JOIN inventory.tbinvuserlocation d "
        "ON rtrim(lower(d.locationid::text)) = rtrim(lower(a.locationid::text)) "
        "LEFT JOIN inventory.tbinvlocation b ON b.locationid = a.targetlocationid "
        "LEFT JOIN inventory.tbinvlocation c ON c.locationid = a.locationid WHERE d.userid = 'JDELA' AND ");
    sql += pending ? QStringLiteral("coalesce(a.status, ''::citext) OPERATOR(tessary.=) ''::citext")
                   : QStringLiteral("rtrim(lower(a.status::text)) = 'p'");
    sql += verified ? QStringLiteral(" AND coalesce(a.verifiedby, '') <> '' ORDER BY a.transdate")
                    : QStringLiteral(" AND coalesce(a.verifiedby, '') = '' ORDER BY a.transdate");
    return sql.toUtf8();
}

void List(benchmark::State& state, int requests, bool pending, bool verified, bool odbc)
{
    Site& site = Site::Get();
    site.UseRequests(requests);
    db::Connection& connection = site.Program(odbc);
    const QString statement = requests::RequestListStatement(QStringLiteral("JDELA"), pending, verified);
    const QByteArray raw = RawList(pending, verified);
    int rows = 0;
    Beside(state, [&] { rows = connection.Execute(statement).RecordCount(); }, [&] { site.RawSide().Exec(raw); });
    state.counters["rows"] = rows;
    RecordGrowth(state, std::to_string(pending) + std::to_string(verified) + std::to_string(odbc), rows);
}

const QByteArray kRawNumber = "SELECT tessary.tsql_int_of_key(max(tessary.tsql_int_key(documentnumber::text) COLLATE \"C\")) + 1 "
                              "FROM inventory.tbinvwithdrawrequest";

QByteArray RawNumberTaken(const QByteArray& number)
{
    return "SELECT documentnumber FROM inventory.tbinvwithdrawrequest WHERE rtrim(lower(documentnumber::text)) = '"
           + number + "'";
}

void Number(benchmark::State& state, int requests, bool odbc)
{
    Site& site = Site::Get();
    site.UseRequests(requests);
    db::Connection& connection = site.Program(odbc);
    Beside(
        state, [&] { benchmark::DoNotOptimize(requests::GetNewDocNumber(connection)); },
        [&] { site.RawSide().Exec(RawNumberTaken(site.RawSide().Value(kRawNumber))); });
    RecordGrowth(state, "number" + std::to_string(odbc));
}

requests::RequestToSave FiveHundredLines()
{
    requests::RequestToSave r;
    r.documentNumber = QStringLiteral("NEW");
    r.transDate = QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9));
    r.locationId = QStringLiteral("1");
    r.targetLocationId = QStringLiteral("12");
    r.userId = QStringLiteral("JDELA");
    r.remarks = QStringLiteral("FOR WARD USE");
    for (int i = 1; i <= kSaveLines; ++i)
        r.lines << requests::RequestLine{QStringLiteral("P%1").arg(i * 7, 6, 10, QLatin1Char('0')), QString::number(i % 9 + 1),
                                         QStringLiteral("12.5000"), QStringLiteral("Y"), QStringLiteral("N")};
    return r;
}

QByteArray RawLine(const QByteArray& number, int i)
{
    return QStringLiteral("('%1', 'P%2', %3, 12.5000, 'Y', 0, '1', '12', '03/07/2026 02:05:09 PM', 'JDELA', 'FOR WARD USE')")
        .arg(QString::fromLatin1(number))
        .arg(i * 7, 6, 10, QLatin1Char('0'))
        .arg(i % 9 + 1)
        .toUtf8();
}

const QByteArray kRawInsert = "INSERT INTO inventory.tbinvwithdrawrequest (documentnumber, itemid, quantity, unitcost, "
                              "forretail, isads, locationid, targetlocationid, transdate, userid, remarks) VALUES ";

// The hand-written save: one transaction, the number from its index, the
// delete, one insert of every line.
void RawSave(Raw& raw)
{
    raw.Exec("BEGIN");
    raw.Exec("SELECT pg_advisory_xact_lock(1416853369)");
    const QByteArray number = raw.Value(kRawNumber);
    raw.Exec(RawNumberTaken(number));
    raw.Exec("DELETE FROM inventory.tbinvwithdrawrequest WHERE rtrim(lower(documentnumber::text)) = '" + number + "'");
    QByteArray insert = kRawInsert;
    for (int i = 1; i <= kSaveLines; ++i)
        insert += (i > 1 ? ", " : "") + RawLine(number, i);
    raw.Exec(insert);
    raw.Exec("COMMIT");
}

// Every line an insert that commits alone.
void RawAutocommitSave(Raw& raw)
{
    const QByteArray number = raw.Value(kRawNumber);
    for (int i = 1; i <= kSaveLines; ++i)
        raw.Exec(kRawInsert + RawLine(number, i));
}

void Save(benchmark::State& state, int requests, bool odbc)
{
    Site& site = Site::Get();
    site.UseRequests(requests);
    db::Connection& connection = site.Program(odbc);
    const requests::RequestToSave request = FiveHundredLines();
    Beside(state, [&] { benchmark::DoNotOptimize(requests::SaveRequest(connection, request)); },
           [&] { RawSave(site.RawSide()); });
    // Beside one autocommit per line, a few times (each takes long).
    double ours = 0;
    double autocommit = 0;
    for (int k = 0; k < 3; ++k) {
        Clock::time_point start = Clock::now();
        requests::SaveRequest(connection, request);
        ours += Seconds(start, Clock::now());
        start = Clock::now();
        RawAutocommitSave(site.RawSide());
        autocommit += Seconds(start, Clock::now());
    }
    state.counters["autocommit_ms"] = autocommit / 3 * 1000;
    state.counters["times_faster"] = autocommit / ours;
    RecordGrowth(state, "save" + std::to_string(odbc));
    // The saved requests go again, so that the history keeps its length.
    site.RawSide().Exec(QStringLiteral("DELETE FROM inventory.tbinvwithdrawrequest WHERE tessary.tsql_int_key(documentnumber::text) "
                                       "COLLATE \"C\" > tessary.tsql_int_key('%1') COLLATE \"C\"")
                            .arg(requests)
                            .toUtf8());
}

// The plans the server makes for the program's statements.
void PrintPlans()
{
    Site& site = Site::Get();
    site.UseRequests(20000);
    auto& connection = site.Program(false);
    const auto explain = [&](const char* title, const QString& statement) {
        std::fprintf(stderr, "--- %s\n", title);
        if (qEnvironmentVariableIsSet("TESSARY_BENCH_SQL"))
            std::fprintf(stderr, "%s\n", qPrintable(db::PgTranslator::TranslateUncached(statement)));
        const db::RowSet plan = connection.ExecuteNative(QStringLiteral("EXPLAIN (ANALYZE, COSTS OFF) ") + db::PgTranslator::TranslateUncached(statement) + QStringLiteral(" LIMIT 32"));
        for (const db::RowSet::Row& row : plan.Rows())
            std::fprintf(stderr, "%s\n", qPrintable(row.value(0).toString()));
    };
    explain("search, whole item file, GA", db::WithValuesWritten(WholeFileSearch(), {QStringLiteral("GA%")}));
    explain("search, ward 12 asking store 1, GA", db::WithValuesWritten(LocationSearch(), {"1", "12", QStringLiteral("GA%")}));
    explain("search, ward 12 asking store 1, empty box", db::WithValuesWritten(LocationSearch(), {"1", "12", QStringLiteral("%")}));
    explain("pending list", requests::RequestListStatement(QStringLiteral("JDELA"), true, false));
    explain("new number", QStringLiteral("Select (max(Cast(DocumentNumber as int)) + 1) as DocNum From INVENTORY..tbInvWithdrawRequest"));
}

void Register()
{
    const struct { const char* name; const char* text; } texts[] = {
        {"Empty", ""}, {"A", "A"}, {"GA", "GA"}, {"Paracetamol1", "PARACETAMOL 1"}};
    for (const bool odbc : {false, true}) {
        const std::string driver = odbc ? "Odbc/" : "Qt/";
        for (const bool atLocation : {false, true})
            for (const auto& t : texts)
                benchmark::RegisterBenchmark(
                    (driver + "Search/" + (atLocation ? "WardAskingStore/" : "WholeFile/") + t.name).c_str(),
                    [=](benchmark::State& s) { Search(s, atLocation, QString::fromLatin1(t.text), odbc); })
                    ->UseManualTime()->Unit(benchmark::kMillisecond);
        for (const int requests : {20000, 200000}) {
            const std::string history = "/" + std::to_string(requests);
            const struct { const char* name; bool pending; bool verified; } lists[] = {
                {"Pending", true, false}, {"Verified", true, true}, {"Processed", false, true}};
            for (const auto& l : lists)
                benchmark::RegisterBenchmark((driver + "List/" + l.name + history).c_str(),
                                             [=](benchmark::State& s) { List(s, requests, l.pending, l.verified, odbc); })
                    ->UseManualTime()->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark((driver + "NewNumber" + history).c_str(),
                                         [=](benchmark::State& s) { Number(s, requests, odbc); })
                ->UseManualTime()->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark((driver + "Save500Lines" + history).c_str(),
                                         [=](benchmark::State& s) { Save(s, requests, odbc); })
                ->UseManualTime()->Unit(benchmark::kMillisecond);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Server::Get();
    PrintPlans();
    Register();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
