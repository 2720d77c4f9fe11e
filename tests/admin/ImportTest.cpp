// Importing a site's records from comma-separated files: every row checked
// before anything is written, and what is written is what the program's
// log-in, code box, product search and kits find.
#include "admin/AdminError.h"
#include "admin/Databases.h"
#include "admin/CsvReader.h"
#include "admin/Import.h"
#include "admin/Users.h"
#include "app/CurrentUser.h"
#include "cipher/CryptText.h"
#include "dialogs/SupervisorPassword.h"
#include "locations/LocationServices.h"
#include "records/ItemMaster.h"
#include "support/TempDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::TempDatabase;

namespace {

QVector<admin::CsvRecord> Csv(const char* text)
{
    return admin::ReadCsv(QString::fromUtf8(text));
}

admin::ImportSummary Import(TempDatabase& db, admin::ImportKind kind, const char* text, admin::ImportOptions options = {})
{
    return admin::ImportRecords(db.Connection(), kind, Csv(text), options);
}

// The message of a refused import.
QString Refusal(TempDatabase& db, admin::ImportKind kind, const char* text, admin::ImportOptions options = {})
{
    try {
        Import(db, kind, text, options);
    } catch (const admin::AdminError& e) {
        return e.Message();
    }
    ADD_FAILURE() << "the import was not refused";
    return {};
}

// What the item records need to be built without dialogs: they open none
// here.
class NoLookups : public records::Lookups, public records::FailureNotices {
public:
    QString PickItem(const QString&, const QString&, const QString&) override { return {}; }
    QString PickReference(const QString&, Reference) override { return {}; }
    void Tell(const QString&) override {}
    void TellCritical(const QString&, const QString&) override {}
};

records::RecordServices RecordServices()
{
    static NoLookups none;
    return {{}, none, none};
}

const char* const kLocations = "id,name,warehouse\n1,CENTRAL SUPPLY ROOM,1\n10,MEDICAL WARD,0\n";
const char* const kItems = "code,name,description,barcode\n"
                           "101,PARACETAMOL,500MG TABLET,4800000000017\n"
                           "102,GAUZE PAD,4X4,\n";

class Importing : public ::testing::Test {
protected:
    void SetUp() override { Import(db, admin::ImportKind::Locations, kLocations); }
    TempDatabase db;
};

} // namespace

TEST(CsvReader, ReadsFieldsAsSpreadsheetsWriteThem)
{
    // A byte-order mark, CRLF, quoted commas, doubled quotes, a line break
    // inside quotes (the record after it starts two lines on), blank lines.
    const QVector<admin::CsvRecord> records = admin::ReadCsv(
        QString::fromUtf8("\xEF\xBB\xBF" "code,name\r\n"
                          "1,\"GAUZE, 4X4\"\r\n"
                          "2,\"TAPE 1\"\" WIDE\"\r\n"
                          "\r\n"
                          "3,\"TWO\nLINES\",\r\n"
                          "4,\"\"\n"
                          "5,SALINE 0.9%"));
    ASSERT_EQ(records.size(), 6);
    EXPECT_EQ(records[0].fields, (QStringList{"code", "name"}));
    EXPECT_EQ(records[1].fields, (QStringList{"1", "GAUZE, 4X4"}));
    EXPECT_EQ(records[2].fields, (QStringList{"2", "TAPE 1\" WIDE"}));
    EXPECT_EQ(records[3].fields, (QStringList{"3", "TWO\nLINES", ""}));
    EXPECT_EQ(records[4].fields, (QStringList{"4", ""}));
    EXPECT_EQ(records[5].fields, (QStringList{"5", "SALINE 0.9%"}));
    const QList<int> lines{records[0].line, records[1].line, records[2].line, records[3].line, records[4].line,
                           records[5].line};
    EXPECT_EQ(lines, (QList<int>{1, 2, 3, 5, 7, 8}));

    EXPECT_THROW(admin::ReadCsv(u"code,name\n1,\"OPEN\n"), admin::AdminError);
    EXPECT_THROW(admin::ReadCsv(u"code,name\n1,\"CLOSED\"X\n"), admin::AdminError);
}

// A new site starts with its hospital record, the heading of its printed
// requests, and every site switch off.
TEST(NewSite, StartsWithItsHospitalRecordAndTheSwitchesOff)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("site.db");
    admin::InitSite(path, {"SAN ROQUE MEDICAL CENTER", "12 RIZAL AVENUE", "", "SR"});
    const auto c = admin::OpenSiteDatabase(path);
    const db::RowSet hospital =
        c->Execute("Select Company, Address1, ClientName, AllowWDZeroOnHand From INVENTORY..tbHospitalInfo");
    ASSERT_EQ(hospital.RecordCount(), 1);
    EXPECT_EQ(hospital.RowAt(0), (db::RowSet::Row{"SAN ROQUE MEDICAL CENTER", "12 RIZAL AVENUE", "SR", 0}));
    EXPECT_EQ(c->Execute("Select idkey From INVENTORY..tbPharmaSwitch Where KeyValue = 0").RecordCount(), 4);
    EXPECT_EQ(c->Execute("Select idkey From INVENTORY..tbPharmaSwitch").RecordCount(), 4);
}

// Every sample file imports into a new site, in the README's order, and the
// program finds what they hold.
TEST(Samples, ImportIntoANewSiteAndAreFoundAsStaffEnterThem)
{
    TempDatabase db;
    admin::ImportSummary users;
    for (const char* kind : {"terms", "suppliers", "units", "classifications", "generic_classes", "generics",
                             "locations", "items", "stock", "kits", "users"}) {
        SCOPED_TRACE(kind);
        const QString path = QStringLiteral(TESSARY_SAMPLES_DIR "/%1.csv").arg(QLatin1String(kind));
        users = admin::ImportFile(db.Connection(), *admin::ImportKindNamed(QLatin1String(kind)), path, {});
        EXPECT_GT(users.added, 0);
    }
    EXPECT_EQ(users.withoutPassword.size(), db.Scalar("SELECT count(*) FROM tbPasswordMain"));

    db::Connection& c = db.Connection();
    EXPECT_EQ(locations::GetItemIDByBarcode(c, "4806514100017"), "1001");
    EXPECT_EQ(c.Execute("Inventory..sp_Inv_SearchItem_In_Invent '1001','10'").RecordCount(), 1);
    EXPECT_EQ(c.Execute("Inventory..sp_Inv_KitofItems 9001").RecordCount(), 5);   // one component inactive
    EXPECT_EQ(c.Execute("Select ItemID From INVENTORY..tbInvMaster Where ItemName Like 'SURGICAL GLOVES%'").RecordCount(), 2);

    // The item records find what the item refers to.
    records::clsItemMaster item(RecordServices());
    item.ActiveConnection(c);
    ASSERT_TRUE(item.LoadItem("1001"));
    EXPECT_EQ(item.ItemClass()->Description, "MEDICINES");
    EXPECT_EQ(item.UnitOfMeasure()->Description, "TABLET");
    EXPECT_EQ(item.Generic()->GenericName(), "PARACETAMOL");
    EXPECT_EQ(item.Generic()->Classification(), "ANALGESICS");
    EXPECT_EQ(item.Supplier()->SupplierName, "UNITED MEDICAL DISTRIBUTORS, INC.");
    EXPECT_EQ(item.Supplier()->Terms()->Description, "NET 30 DAYS");

    // The supervisor, once given a password, logs in and authorises.
    admin::SetPassword(c, "MSANTOS", "verify");
    app::CurrentUser user(nullptr, app::ConnectionSettings{});
    user.UseConnection(db.OpenAnother());
    user.PasswordDeptCode = QStringLiteral("4");
    EXPECT_EQ(user.LogIn("MSANTOS", "verify"), app::CurrentUser::LogInResult::Accepted);
    EXPECT_TRUE(dialogs::GetPassword(c, "MSANTOS", "verify"));
    EXPECT_EQ(user.LogIn("JDELA", ""), app::CurrentUser::LogInResult::Refused);
}

TEST_F(Importing, ABrokenFileListsEveryBadRowAndImportsNothing)
{
    const QString longName(101, QLatin1Char('N'));
    const QByteArray file = QStringLiteral("code,name,packing,list_cost,barcode\n"
                                           "101,PARACETAMOL,100,1.25,\n"          // good
                                           ",NO CODE,1,1,\n"                       // 3
                                           "102,,1,1,\n"                           // 4
                                           "103,SALINE,twelve,1,\n"                // 5
                                           "104,SALINE,1,1.2.3,\n"                 // 6
                                           "101,PARACETAMOL AGAIN,1,1,\n"          // 7
                                           "-105,SIGNED,1,1,\n"                    // 8
                                           "A106,LETTERED,1,1,\n"                  // 9
                                           "107,%1,1,1,\n"                         // 10
                                           "108,BARCODE IS A CODE,1,1,101\n"       // 11
                                           "109,TOO MANY,1,1,,extra\n")            // 12
                                .arg(longName)
                                .toUtf8();
    const QString message = Refusal(db, admin::ImportKind::Items, file.constData());
    for (int line = 3; line <= 12; ++line)
        EXPECT_TRUE(message.contains(QStringLiteral("line %1: ").arg(line))) << line << " in " << message.toStdString();
    EXPECT_FALSE(message.contains("line 2:")) << message.toStdString();
    EXPECT_TRUE(message.contains("10 bad rows; nothing was imported")) << message.toStdString();
    EXPECT_TRUE(message.contains("name has 101 characters, more than the 100 that tbInvMaster.ItemName holds"))
        << message.toStdString();
    EXPECT_TRUE(message.contains("item 101 is on line 2 already")) << message.toStdString();
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvMaster"), 0);

    // Rows that name what is not there.
    Import(db, admin::ImportKind::Items, kItems);
    const QString stock = Refusal(db, admin::ImportKind::Stock,
                                  "item,location,on_hand\n101,1,5\n999,1,5\n101,77,5\n102,10,-1\n101,1,6\n");
    for (const char* reason : {"line 3: unknown item 999", "line 4: unknown location 77", "line 5: on_hand -1 is less than 0",
                               "line 6: stock of item 101 at location 1 is on line 2 already"})
        EXPECT_TRUE(stock.contains(QLatin1String(reason))) << reason << " in " << stock.toStdString();
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvent"), 0);

    // A header without a required column, or with one unknown.
    EXPECT_TRUE(Refusal(db, admin::ImportKind::Locations, "id,nmae\n5,X\n").contains("line 1: no column \"name\""));
    EXPECT_TRUE(Refusal(db, admin::ImportKind::Locations, "id,nmae\n5,X\n").contains("unknown column \"nmae\""));
}

TEST_F(Importing, ExistingCodesNeedUpdateAndADryRunWritesNothing)
{
    admin::ImportSummary dry = Import(db, admin::ImportKind::Items, kItems, {.dryRun = true});
    EXPECT_EQ(dry.added, 2);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvMaster"), 0);

    Import(db, admin::ImportKind::Items, kItems);
    const char* const changed = "code,name,list_cost\n101,PARACETAMOL 500,2.5\n103,NEW ITEM,1\n";
    EXPECT_TRUE(Refusal(db, admin::ImportKind::Items, changed).contains("line 2: item 101 exists already"));
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvMaster"), 2);

    const admin::ImportSummary update = Import(db, admin::ImportKind::Items, changed, {.update = true});
    EXPECT_EQ(update.added, 1);
    EXPECT_EQ(update.updated, 1);
    EXPECT_EQ(db.Native("SELECT ItemName, ListCost FROM tbInvMaster WHERE ItemID = '101'").Rows().first(),
              (db::RowSet::Row{"PARACETAMOL 500", 2.5}));

    // A barcode that another item holds hides that item from the code box.
    EXPECT_TRUE(Refusal(db, admin::ImportKind::Items, "code,name,barcode\n104,X,4800000000017\n")
                    .contains("barcode 4800000000017 belongs to item 101 already"));
}

TEST_F(Importing, KitsAreFoundThroughTheirItem)
{
    Import(db, admin::ImportKind::Items, "code,name,list_cost\n101,GLOVES,18\n102,GAUZE,22\n900,DELIVERY KIT,0\n");
    Import(db, admin::ImportKind::Kits, "kit,item,qty,inactive\n900,101,2,0\n900,102,3,1\n");
    const db::RowSet parts = db.Connection().Execute("Inventory..sp_Inv_KitofItems 900");
    ASSERT_EQ(parts.RecordCount(), 1);
    EXPECT_EQ(db.Native("SELECT KitID FROM tbInvMaster WHERE ItemID = '900'").Field(0).toString(), "900");
    EXPECT_TRUE(Refusal(db, admin::ImportKind::Kits, "kit,item,qty\n900,900,1\n901,101,0\n")
                    .contains("line 3: unknown kit item 901; qty must be more than 0"));
}

TEST_F(Importing, UsersWithoutPasswordsAreNamedAndCannotLogIn)
{
    const admin::ImportSummary summary =
        Import(db, admin::ImportKind::Users,
               "id,last_name,first_name,departments,supervisor,password\n"
               "JDELA,DELA CRUZ,JUANA,1;10,0,\n"
               "MSANTOS,SANTOS,MARIA,1 10,1,\n"
               "RLIM,LIM,ROBERTO,1,0,secret\n");
    EXPECT_EQ(summary.withoutPassword, (QStringList{"JDELA", "MSANTOS"}));
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvUserLocation WHERE UserID = 'MSANTOS'"), 2);
    EXPECT_TRUE(admin::DescribeImport(admin::ImportKind::Users, summary, {}, "site.db")
                    .contains("tessary-admin user passwd site.db JDELA"));

    // Nobody gets in with an empty password: not a user stored without one,
    // nor one whose stored password is the cipher of an empty text.
    db.Native("UPDATE tbPasswordMain SET Password = ? WHERE EmployeeID = 'RLIM'", {cipher::EncipherPassword("")});
    db.Native("UPDATE tbPasswordMain SET Right_Code1 = 'A', Right_Code2 = 'S' WHERE EmployeeID = 'RLIM'");
    app::CurrentUser user(nullptr, app::ConnectionSettings{});
    user.UseConnection(db.OpenAnother());
    user.PasswordDeptCode = QStringLiteral("4");
    for (const char* id : {"JDELA", "MSANTOS", "RLIM"}) {
        EXPECT_EQ(user.LogIn(id, ""), app::CurrentUser::LogInResult::Refused) << id;
        EXPECT_FALSE(dialogs::GetPassword(db.Connection(), id, "")) << id;
    }
    EXPECT_THROW(admin::SetPassword(db.Connection(), "JDELA", ""), admin::AdminError);

    // A password the cipher would store with "?" in place of some characters.
    EXPECT_TRUE(Refusal(db, admin::ImportKind::Users,
                        "id,last_name,first_name,password\nAREYES,REYES,ANDRES,päss-пароль\n")
                    .contains(QString::fromUtf8("line 2: password has characters that cannot be stored: \"п\", \"а\"")));

    // IDs compare without case; --update keeps a password the file leaves out.
    EXPECT_TRUE(Refusal(db, admin::ImportKind::Users, "id,last_name,first_name\njdela,X,Y\n").contains("exists already"));
    admin::SetPassword(db.Connection(), "JDELA", "request");
    Import(db, admin::ImportKind::Users, "id,last_name,first_name,supervisor\nJDELA,DELA CRUZ,JUANA,1\n", {.update = true});
    EXPECT_TRUE(dialogs::GetPassword(db.Connection(), "JDELA", "request"));
}

TEST_F(Importing, AStoreClerkIsImportedWithTheRightToIssue)
{
    Import(db, admin::ImportKind::Users,
           "id,last_name,first_name,departments,issuer\nLGARCIA,GARCIA,LORNA,1,1\nJDELA,DELA CRUZ,JUANA,10,0\n");
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvUserSettings WHERE isIssueTessary = 1 AND UserID = 'LGARCIA'"), 1);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvUserSettings WHERE isIssueTessary = 1"), 1);
}

// A file that is no comma-separated UTF-8 text, or that holds nothing to
// import, is named for what it is; nothing is imported.
TEST_F(Importing, AFileOfAnotherShapeIsNamedForWhatItIs)
{
    QTemporaryDir dir;
    const QString saveAs = " Save it as UTF-8, or from a spreadsheet as \"CSV UTF-8 (Comma delimited)\".";
    QByteArray utf16;
    for (const char c : QByteArray("id,name\n5,WARD\n"))
        utf16 += QByteArray(1, c) + QByteArray(1, '\0');
    struct Case { const char* name; QByteArray bytes; QString message; };
    const Case cases[] = {
        {"latin1.csv", "id,name\n5,CAF\xC9\n6,WARD\n", "\"%1\" is no UTF-8 text (line 2)." + saveAs},
        {"latin1-cut.csv", "id,name\n5,WARD\n6,CAF\xC9", "\"%1\" is no UTF-8 text (line 3)." + saveAs},
        {"utf16.csv", "\xFF\xFE" + utf16, "\"%1\" is UTF-16 text, not UTF-8." + saveAs},
        {"utf16-unmarked.csv", utf16,
         "1 bad row; nothing was imported:\n  line 1: the header holds NUL characters (byte 0): the file is no UTF-8 "
         "text." + saveAs},
        {"semicolons.csv", "id;name\n5;WARD\n",
         "1 bad row; nothing was imported:\n  line 1: the columns are separated by semicolons; an import file "
         "separates them by commas"},
        {"mac.csv", "id,name\r5,WARD\r",
         "The lines of the file end in a carriage return alone (CR); save it with Windows (CRLF) or Unix (LF) line "
         "ends."},
        {"header-only.csv", "id,name,warehouse\r\n",
         "The file has its header row and no records: there was nothing to import."},
        {"nul.csv", QByteArray("id,name\n5,WARD~ 5\n6,WARD 6\n7,\"A~B\",~\n").replace('~', '\0'),
         "2 bad rows; nothing was imported:\n  line 2: name holds a NUL character (byte 0)\n  line 4: 3 fields, the "
         "header names 2; name holds a NUL character (byte 0); field 3 holds a NUL character (byte 0)"},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QLatin1String(c.name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        QString message = "imported";
        try {
            admin::ImportFile(db.Connection(), admin::ImportKind::Locations, path, {});
        } catch (const admin::AdminError& e) {
            message = e.Message();
        }
        EXPECT_EQ(message.toStdString(), c.message.arg(path).toStdString()) << c.name;
    }
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvLocation"), 2);
}

// The reference tables of the item records are checked against each other
// as the other kinds are: what a row names must be imported before, and a
// file with any bad row imports nothing.
TEST_F(Importing, ReferenceTablesAreCheckedAgainstEachOther)
{
    Import(db, admin::ImportKind::Terms, "id,name,days\n1,CASH,0\n2,NET 30 DAYS,30\n");
    const QString suppliers = Refusal(db, admin::ImportKind::Suppliers,
                                      "id,name,terms_id\n5,ACME,2\n6,BETA,9\nX7,GAMMA,1\n5,ACME AGAIN,1\n");
    for (const char* reason : {"line 3: unknown terms_id 9", "line 4: id \"X7\" is no whole number",
                               "line 5: supplier 5 is on line 2 already"})
        EXPECT_TRUE(suppliers.contains(QLatin1String(reason))) << reason << " in " << suppliers.toStdString();
    Import(db, admin::ImportKind::Suppliers, "id,name,terms_id\n5,ACME,2\n");
    EXPECT_EQ(db.Scalar("SELECT TermsID FROM tbInvSupplier WHERE SupplierID = '5'"), 2);

    const QString units = Refusal(db, admin::ImportKind::Units, "id,name\n1,TABLET\n2,tablet\n0,VIAL\n");
    EXPECT_TRUE(units.contains("line 3: unit 1 is named tablet already")) << units.toStdString();
    EXPECT_TRUE(units.contains("line 4: id 0 is less than 1")) << units.toStdString();
    Import(db, admin::ImportKind::Units, "id,name\n1,TABLET\n2,VIAL\n");
    Import(db, admin::ImportKind::Classifications, "id,name,fixed_asset\nMED,MEDICINES,0\nEQP,EQUIPMENT,1\n");
    EXPECT_TRUE(Refusal(db, admin::ImportKind::Classifications, "id,name\nM D,SPACED\n")
                    .contains("id \"M D\" holds other characters than letters, digits, points and dashes"));
    Import(db, admin::ImportKind::GenericClasses, "key,name\n12,ANALGESICS\n12.1,NON-OPIOID ANALGESICS\n3.1,ORPHAN\n");
    const QString generics = Refusal(db, admin::ImportKind::Generics,
                                     "id,name,class\nG1,PARACETAMOL,12.1\nG2,X,12\nG3,Y,99.1\nG4,Z,3.1\n");
    for (const char* reason : {"line 3: class 12 is read as class 1", "line 4: unknown class 99.1",
                               "line 5: class 3.1 lies in class 3, which is unknown"})
        EXPECT_TRUE(generics.contains(QLatin1String(reason))) << reason << " in " << generics.toStdString();
    Import(db, admin::ImportKind::Generics, "id,name,class\nG1,PARACETAMOL,12.1\n");

    const QString items = Refusal(db, admin::ImportKind::Items,
                                  "code,name,unit,unit_id,classification,generic,manufacturer_id\n"
                                  "101,GOOD,,2,med,g1,5\n"
                                  "102,BOTH UNITS,VIAL,2,,,\n"
                                  "103,UNKNOWN,,7,XYZ,G9,8\n");
    EXPECT_TRUE(items.contains("line 3: unit and unit_id both given")) << items.toStdString();
    EXPECT_TRUE(items.contains("line 4: unknown unit_id 7 (import the units first); unknown classification XYZ "
                               "(import the classifications first); unknown generic G9 (import the generic names "
                               "first); unknown manufacturer_id 8 (a supplier's id)"))
        << items.toStdString();
    EXPECT_FALSE(items.contains("line 2:")) << items.toStdString();

    // The update changes only the columns the file names.
    Import(db, admin::ImportKind::Items, "code,name,unit_id,classification,generic,manufacturer_id\n101,GOOD,2,MED,G1,5\n");
    Import(db, admin::ImportKind::Items, "code,name,classification\n101,GOOD,EQP\n", {.update = true});
    EXPECT_EQ(db.Native("SELECT UnitOfMeasureID, ItemClassificationID, GenericID, ManufacturerID FROM tbInvMaster")
                  .Rows()
                  .first(),
              (db::RowSet::Row{2, "EQP", "G1", "5"}));
}

TEST(ImportProgress, ReadsAsALineAndStaysQuietOffATerminal)
{
    struct Case { admin::ImportProgress progress; const char* line; };
    const Case cases[] = {
        {{1000, 0, 0, 0}, "1000 rows read"},
        {{2500, 1000, 0, 0}, "2500 rows read, 1000 checked"},
        {{2500, 2500, 800, 2600}, "2500 rows read, 2500 checked, 30 % written"},
        {{2500, 2500, 2600, 2600}, "2500 rows read, 2500 checked, 100 % written"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(admin::DescribeProgress(c.progress), c.line);

    // A file is no terminal: nothing is written to it, however it is told.
    std::FILE* file = std::tmpfile();
    ASSERT_TRUE(file);
    {
        admin::ProgressLine quiet(file);
        admin::ProgressLine said(file, false);
        for (const Case& c : cases) {
            quiet.Show(c.progress);
            said.Reporter()(c.progress);
        }
    }
    EXPECT_EQ(std::ftell(file), 0);

    // On a terminal each line is written over the last, and cleared.
    {
        admin::ProgressLine shown(file, true);
        shown.Show(cases[1].progress);
        shown.Show(cases[0].progress);
    }
    std::rewind(file);
    char text[200] = {};
    const size_t size = std::fread(text, 1, sizeof text - 1, file);
    std::fclose(file);
    EXPECT_EQ(std::string(text, size), "\r2500 rows read, 1000 checked\r1000 rows read              "
                                       "\r              \r");
}

// An import tells how far it has come, up to every row read and checked and
// everything written.
TEST_F(Importing, AnImportToldItsProgressEndsWithEverythingWritten)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("locations.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("id,name\n");
    for (int id = 100; id < 2600; ++id)
        file.write(QStringLiteral("%1,WARD %1\n").arg(id).toUtf8());
    file.close();
    QList<admin::ImportProgress> told;
    admin::ImportOptions options;
    options.progress = [&](const admin::ImportProgress& progress) { told << progress; };
    admin::ImportFile(db.Connection(), admin::ImportKind::Locations, file.fileName(), options);
    ASSERT_FALSE(told.isEmpty());
    const admin::ImportProgress last = told.last();
    EXPECT_EQ(last.read, 2500);
    EXPECT_EQ(last.checked, 2500);
    EXPECT_EQ(last.written, last.toWrite);
    EXPECT_EQ(last.toWrite, 2500);
    EXPECT_GE(told.size(), 6) << "reading, checking and writing are each told along the way";
}
