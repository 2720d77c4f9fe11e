#include "reports/Layout.h"
#include "reports/Printing.h"
#include "reports/ReportError.h"
#include "reports/ReportFile.h"
#include "support/TempDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using reports::PrintContext;
using reports::ReportError;
using testing_support::TempDatabase;

// The report files as shipped, read from the source tree.
QString ShippedReport(const QString& name)
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../reports/") + name);
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QString& text)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    return path;
}

PrintContext Context(db::Connection* connection = nullptr)
{
    PrintContext context;
    context.hospitalCompany = QStringLiteral("ST. AGNES GENERAL HOSPITAL");
    context.serverName = QStringLiteral("DBSERVER01");
    context.database = QStringLiteral("HOSPDB");
    context.serverPassword = QStringLiteral("s3cret");
    if (connection)
        context.connection = [connection]() -> db::Connection& { return *connection; };
    return context;
}

TEST(ReportFiles, ShippedFormsDeclareTheirTablesAndParametersInOrder)
{
    struct Case {
        QString file;
        QStringList parameters;
    };
    const QStringList tables{QStringLiteral("INVENTORY.dbo.tbInvWithdrawRequest"),
                             QStringLiteral("INVENTORY.dbo.tbInvMaster"), QStringLiteral("INVENTORY.dbo.tbInvLocation")};
    for (const Case& c : {Case{reports::kLongFormFile,
                               {"{?@HospitalCompany}", "{?@HospitalAddress}", "{?@DocumentNumber}"}},
                          Case{reports::kShortFormFile, {"{?@DocumentNumber}"}}}) {
        SCOPED_TRACE(c.file.toStdString());
        const reports::ReportDefinition report = reports::ReadReportFile(ShippedReport(c.file));
        EXPECT_EQ(report.parameters, c.parameters);
        QStringList locations;
        for (const reports::ReportTable& table : report.tables) {
            locations << table.location;
            EXPECT_TRUE(table.logon.server.isEmpty() && table.logon.user.isEmpty() && table.logon.password.isEmpty());
        }
        EXPECT_EQ(locations, tables);
        EXPECT_FALSE(report.columns.isEmpty());
        EXPECT_TRUE(report.HasTotals());
    }
}

TEST(ReportFiles, FaultsNameTheLine)
{
    const QString head = QStringLiteral("[Report]\nTitle = T\n[Table]\nName = A\nLocation = INVENTORY.dbo.t\n"
                                        "[Parameters]\n{?@No}\n");
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"[Query]\nSelect 1 From {B}\n", "line 8: the query names {B}"},
        {"[Query]\nSelect 1 From {A} Where x = {?@Nope}\n", "{?@Nope}, which is not a declared parameter"},
        {"[Query]\nSelect 1 From {A}\n[Header]\nText = 0 0 10 | - | x\n", "line 11: expected 4 numbers"},
        {"[Query]\nSelect 1 From {A}\n[Header]\nText = 0 0 10 5 | shiny | x\n", "unknown text option \"shiny\""},
        {"[Query]\nSelect 1 From {A}\n[Column]\nValue = {?@Other}\n", "line 11: {?@Other} is not a declared"},
        {"[Query]\nSelect 1 From {A}\n[Column]\nWidth = 500\n", "the columns are 500 mm wide"},
        {"[Query]\nSelect 1 From {A}\n[Summary]\n", "unknown section [Summary]"},
        {"", "the report has no [Query]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            reports::ParseReportText(head + QString::fromUtf8(c.text), QStringLiteral("bad.rpt"));
            ADD_FAILURE() << "accepted";
        } catch (const ReportError& e) {
            EXPECT_TRUE(e.Description().contains(QString::fromUtf8(c.expected))) << e.Description().toStdString();
        }
    }
}

class PrintReportTest : public ::testing::Test {
protected:
    QString FourFieldReport()
    {
        return WriteFile(dir_, QStringLiteral("four.rpt"), QStringLiteral(
            "[Report]\nTitle = FROM THE FILE\n"
            "[Table]\nName = Request\nLocation = INVENTORY.dbo.tbInvWithdrawRequest\n"
            "[Table]\nName = Master\nLocation = Inventory..tbInvMaster\n"
            "[Parameters]\n{?@DocumentNumber}\n{?@SupplierCode}\n{?SupplierID}\n{?@Other}\n"
            "[Query]\nSelect ItemID From {Request} Where DocumentNumber = {?@DocumentNumber}\n"));
    }

    QTemporaryDir dir_;
};

TEST_F(PrintReportTest, RedirectsEveryTableToTheUsersDatabaseAndLogsOnAsSa)
{
    const std::shared_ptr<reports::Report> report =
        reports::PrintReport(FourFieldReport(), {QStringLiteral("12")}, Context());
    ASSERT_TRUE(report);
    EXPECT_EQ(report->Title(), QStringLiteral("ST. AGNES GENERAL HOSPITAL"));
    ASSERT_EQ(report->TableCount(), 2);
    EXPECT_EQ(report->Table(0).location, QStringLiteral("HOSPDB.dbo.tbInvWithdrawRequest"));
    EXPECT_EQ(report->Table(1).location, QStringLiteral("HOSPDB..tbInvMaster"));
    for (int i = 0; i < report->TableCount(); ++i) {
        const reports::Logon& logon = report->Table(i).logon;
        EXPECT_EQ(logon.server, QStringLiteral("DBSERVER01"));
        EXPECT_EQ(logon.database, QStringLiteral("HOSPDB"));
        EXPECT_EQ(logon.user, QStringLiteral("sa"));
        EXPECT_EQ(logon.password, QStringLiteral("s3cret"));
    }
    // The query follows the tables, and the value goes in quoted.
    EXPECT_EQ(report->Statement(),
              QStringLiteral("Select ItemID From HOSPDB.dbo.tbInvWithdrawRequest Where DocumentNumber = '12'"));
}

TEST_F(PrintReportTest, FillsParameterFieldsInOrder)
{
    struct Case {
        QStringList values;
        QList<QStringList> expected;  // current values of the four fields
    };
    const Case cases[] = {
        {{"7", "S1", "S2", "X", "unused"}, {{"7"}, {"S1 "}, {"S2 "}, {"X"}}},
        {{"7", "S1"}, {{"7"}, {"S1 "}, {}, {}}},
        {{"O'BRIEN"}, {{"O'BRIEN"}, {}, {}, {}}},
        {{}, {{}, {}, {}, {}}},
    };
    const QString path = FourFieldReport();
    std::shared_ptr<reports::Report> report;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values.join(QLatin1Char(',')).toStdString());
        report = reports::PrintReport(path, c.values, Context());
        ASSERT_EQ(report->ParameterFieldCount(), 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(report->ParameterFieldAt(i).currentValues, c.expected.at(i)) << i;
    }
    EXPECT_TRUE(report->Statement().endsWith(QStringLiteral("DocumentNumber = ''")));
}

TEST_F(PrintReportTest, EachPrintIsAReportOfItsOwn)
{
    const QString path = FourFieldReport();
    const std::shared_ptr<reports::Report> first = reports::PrintReport(path, {QStringLiteral("1")}, Context());
    const std::shared_ptr<reports::Report> second = reports::PrintReport(path, {QStringLiteral("2")}, Context());
    ASSERT_TRUE(second);
    EXPECT_NE(first, second);
    EXPECT_EQ(second->ParameterValue(QStringLiteral("{?@DocumentNumber}")), QStringLiteral("2"));
    EXPECT_EQ(first->ParameterValue(QStringLiteral("{?@DocumentNumber}")), QStringLiteral("1"));
}

TEST_F(PrintReportTest, FailuresThrowReportErrors)
{
    try {
        reports::PrintReport(dir_.filePath(QStringLiteral("missing.rpt")), {QStringLiteral("1")}, Context());
        ADD_FAILURE() << "a missing file was accepted";
    } catch (const ReportError& e) {
        EXPECT_TRUE(e.Description().contains(QStringLiteral("missing.rpt"))) << e.Description().toStdString();
    }

    const QString noDot = WriteFile(dir_, QStringLiteral("nodot.rpt"), QStringLiteral(
        "[Table]\nName = Master\nLocation = tbInvMaster\n[Query]\nSelect 1 From {Master}\n"));
    try {
        reports::PrintReport(noDot, {}, Context());
        ADD_FAILURE() << "a location without a dot was accepted";
    } catch (const ReportError& e) {
        EXPECT_TRUE(e.Description().contains(QStringLiteral("\"tbInvMaster\""))) << e.Description().toStdString();
    }
}

// A request of the given number with lines of the seeded items.
class RequestFormTest : public PrintReportTest {
protected:
    void SetUp() override
    {
        db_.Insert("tbInvLocation", {{"LocationID", "01"}, {"Location", "CENTRAL SUPPLY"}});
        db_.Insert("tbInvLocation", {{"LocationID", "22"}, {"Location", "PEDIATRIC WARD"}});
        db_.Insert("tbPasswordMain", {{"EmployeeID", "E100"}, {"LastName", "DELA CRUZ"}, {"FirstName", "ANA"}});
        db_.Insert("tbPasswordMain", {{"EmployeeID", "S200"}, {"LastName", "REYES"}, {"FirstName", "MARK"}});
        db_.Insert("tbInvMaster", {{"ItemID", "GAUZE01"}, {"ItemName", "GAUZE"}, {"ItemDesc", "4X4 STERILE"}});
        db_.Insert("tbInvMaster", {{"ItemID", "SYR05"}, {"ItemName", "SYRINGE"}, {"ItemDesc", "5 ML"}});
    }

    void Line(const char* number, const char* item, double quantity, double cost, const char* status = nullptr)
    {
        db_.Insert("tbInvWithdrawRequest",
                   {{"DocumentNumber", number}, {"ItemID", item}, {"Quantity", quantity}, {"UnitCost", cost},
                    {"ForRetail", "N"}, {"isADS", 0}, {"LocationID", "01"}, {"TargetLocationID", "22"},
                    {"TransDate", "2026-03-07 14:05:09"}, {"UserID", "E100"}, {"Remarks", "FOR WARD USE"},
                    {"VerifiedBy", "S200"}, {"VerifiedDate", "2026-03-07 15:00:00"},
                    {"Status", status ? QVariant(status) : QVariant()}});
    }

    reports::Document PrintLongForm(const QString& number)
    {
        PrintContext context = Context(&db_.Connection());
        context.database = db_.Connection().DatabaseName();
        return reports::RunReport(*reports::PrintReport(
            ShippedReport(reports::kLongFormFile),
            {QStringLiteral("ST. AGNES GENERAL HOSPITAL"), QStringLiteral("12 RIZAL AVENUE"), number}, context));
    }

    TempDatabase db_;
};

TEST_F(RequestFormTest, LongFormShowsTheRequestItsLinesAndTheGrandTotal)
{
    Line("15", "GAUZE01", 10, 2.5, "D");  // cancelled requests still print
    Line("15", "SYR05", 1200, 4.25, "D");
    Line("16", "SYR05", 3, 1);
    QStringList statements;
    db_.Connection().SetStatementObserver([&](const QString& sql) { statements << sql; });

    const reports::Document document = PrintLongForm(QStringLiteral("15"));

    ASSERT_EQ(statements.size(), 1);
    EXPECT_TRUE(statements.at(0).contains(QStringLiteral("From INVENTORY.dbo.tbInvWithdrawRequest R")));
    EXPECT_TRUE(statements.at(0).contains(QStringLiteral("R.DocumentNumber = '15'")));
    ASSERT_EQ(document.pages.size(), 1);
    const QStringList texts = document.Texts();
    for (const char* expected : {"ST. AGNES GENERAL HOSPITAL", "12 RIZAL AVENUE", "DEPARTMENT STOCK REQUEST", "15",
                                 "03/07/2026 02:05:09 PM", "PEDIATRIC WARD", "CENTRAL SUPPLY", "FOR WARD USE",
                                 "CANCELLED", "GAUZE01", "GAUZE 4X4 STERILE", "10.00", "2.50", "25.00", "SYR05",
                                 "SYRINGE 5 ML", "1,200.00", "4.25", "5,100.00", "GRAND TOTAL", "5,125.00",
                                 "DELA CRUZ, ANA", "REYES, MARK", "03/07/2026 03:00:00 PM", "Issued by",
                                 "Received by", "Page 1 of 1"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_FALSE(texts.contains(QStringLiteral("3.00")));  // request 16's line
}

TEST_F(RequestFormTest, ANumberWithoutRowsPrintsTheHeaderWithoutLines)
{
    Line("15", "GAUZE01", 10, 2.5);
    const reports::Document document = PrintLongForm(QStringLiteral("NEW"));
    ASSERT_EQ(document.pages.size(), 1);
    const QStringList texts = document.Texts();
    EXPECT_TRUE(texts.contains(QStringLiteral("ST. AGNES GENERAL HOSPITAL")));
    EXPECT_TRUE(texts.contains(QStringLiteral("NEW")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Item Code")));
    EXPECT_FALSE(texts.contains(QStringLiteral("GAUZE01")));
    EXPECT_TRUE(texts.contains(QStringLiteral("0.00")));  // the grand total
}

TEST_F(RequestFormTest, ManyLinesBreakAcrossPagesWithHeadingsAndPageNumbers)
{
    for (int i = 0; i < 90; ++i) {
        const QByteArray item = "ITEM" + QByteArray::number(i);
        db_.Insert("tbInvMaster", {{"ItemID", item.constData()}, {"ItemName", "ITEM NAME"}});
        Line("15", item.constData(), 1, 1);
    }
    const reports::Document document = PrintLongForm(QStringLiteral("15"));
    const int pages = int(document.pages.size());
    ASSERT_GE(pages, 2);
    QStringList items;
    for (int p = 0; p < pages; ++p) {
        const QStringList texts = document.pages.at(p).Texts();
        EXPECT_TRUE(texts.contains(QStringLiteral("Item Code"))) << p;
        EXPECT_TRUE(texts.contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages))) << p;
        EXPECT_EQ(texts.contains(QStringLiteral("ST. AGNES GENERAL HOSPITAL")), p == 0) << p;
        for (const QString& text : texts)
            if (QRegularExpression(QStringLiteral("^ITEM\\d+$")).match(text).hasMatch())
                items << text;
        for (const reports::DrawItem& item : document.pages.at(p).items)
            EXPECT_LE(item.rect.bottom(), document.sizeMm.height() - 12 + 0.01) << p;
    }
    EXPECT_EQ(items.size(), 90);
    EXPECT_EQ(items.front(), QStringLiteral("ITEM0"));
    EXPECT_EQ(items.back(), QStringLiteral("ITEM89"));
    EXPECT_TRUE(document.pages.last().Texts().contains(QStringLiteral("90.00")));
    EXPECT_TRUE(document.pages.last().Texts().contains(QStringLiteral("Received by")));
}

TEST_F(RequestFormTest, RunningFaultsAreReportErrors)
{
    struct Case {
        const char* body;
        const char* expected;
    };
    const Case cases[] = {
        {"[Query]\nSelect NoSuchColumn From {Master}\n", "could not read its data"},
        {"[Query]\nSelect ItemID From {Master}\n[Header]\nText = 0 0 10 5 | - | {ItemName}\n",
         "uses the field {ItemName}, which its query does not return"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const QString path = WriteFile(dir_, QStringLiteral("run.rpt"), QStringLiteral(
            "[Table]\nName = Master\nLocation = INVENTORY.dbo.tbInvMaster\n") + QString::fromUtf8(c.body));
        const auto report = reports::PrintReport(path, {}, Context(&db_.Connection()));
        try {
            reports::RunReport(*report);
            ADD_FAILURE() << "ran";
        } catch (const ReportError& e) {
            EXPECT_TRUE(e.Description().contains(QString::fromUtf8(c.expected))) << e.Description().toStdString();
        }
    }
}

TEST_F(RequestFormTest, ShortFormListsTheSameRequest)
{
    Line("15", "GAUZE01", 10, 2.5);
    PrintContext context = Context(&db_.Connection());
    context.database = db_.Connection().DatabaseName();
    const QStringList texts =
        reports::RunReport(*reports::PrintReport(ShippedReport(reports::kShortFormFile), {QStringLiteral("15")}, context))
            .Texts();
    for (const char* expected : {"ST. AGNES GENERAL HOSPITAL", "STOCK REQUEST No. 15", "PEDIATRIC WARD",
                                 "CENTRAL SUPPLY", "GAUZE01", "GAUZE 4X4 STERILE", "25.00", "1 line(s)"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(expected))) << expected;
}

} // namespace

// A report file beside the program (a build folder) wins; an installed
// program finds it in bin/../share/tessary; with neither, the place beside
// the program is named.
TEST(ReportFilePath, BesideTheProgramElseWhereItIsInstalled)
{
    QTemporaryDir prefix;
    QDir(prefix.path()).mkpath("bin");
    QDir(prefix.path()).mkpath("share/tessary");
    const QString bin = prefix.filePath("bin");
    const auto touch = [](const QString& path) { QFile file(path); ASSERT_TRUE(file.open(QIODevice::WriteOnly)); };

    EXPECT_EQ(reports::ReportFilePathFrom(bin, "Form.rpt"), bin + "/Form.rpt");
    touch(prefix.filePath("share/tessary/Form.rpt"));
    EXPECT_EQ(reports::ReportFilePathFrom(bin, "Form.rpt"), prefix.filePath("share/tessary/Form.rpt"));
    touch(bin + "/Form.rpt");
    EXPECT_EQ(reports::ReportFilePathFrom(bin, "Form.rpt"), bin + "/Form.rpt");
}
