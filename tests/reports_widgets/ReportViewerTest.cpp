#include "reports/Paint.h"
#include "reports/Printing.h"
#include "reports/ReportError.h"
#include "reports/widgets/ReportViewer.h"
#include "support/TempDatabase.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kCaption = QStringLiteral("Inventory Master File");

QString ShippedReport(const QString& name)
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../reports/") + name);
}

class ReportViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db_.Insert("tbInvLocation", {{"LocationID", "01"}, {"Location", "CENTRAL SUPPLY"}});
        db_.Insert("tbInvMaster", {{"ItemID", "GAUZE01"}, {"ItemName", "GAUZE"}, {"ItemDesc", "4X4 STERILE"}});
        db_.Insert("tbInvWithdrawRequest", {{"DocumentNumber", "15"}, {"ItemID", "GAUZE01"}, {"Quantity", 10},
                                            {"UnitCost", 2.5}, {"LocationID", "01"}, {"TargetLocationID", "01"},
                                            {"TransDate", "2026-03-07 14:05:09"}});
    }

    void TearDown() override
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<reports::ReportViewer*>(window))
                window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::shared_ptr<reports::Report> Print(const QString& number)
    {
        reports::PrintContext context;
        context.hospitalCompany = QStringLiteral("ST. AGNES GENERAL HOSPITAL");
        context.database = db_.Connection().DatabaseName();
        db::Connection* connection = &db_.Connection();
        context.connection = [connection]() -> db::Connection& { return *connection; };
        return reports::PrintReport(
            ShippedReport(reports::kLongFormFile),
            {QStringLiteral("ST. AGNES GENERAL HOSPITAL"), QStringLiteral("12 RIZAL AVENUE"), number}, context);
    }

    static int PageWidth(reports::ReportViewer* viewer)
    {
        const QList<QLabel*> pages = viewer->centralWidget()->findChildren<QLabel*>();
        return pages.isEmpty() ? 0 : pages.first()->width();
    }

    testing_support::TempDatabase db_;
};

TEST_F(ReportViewerTest, EachPrintOpensAnotherTopLevelWindowShowingItsPages)
{
    reports::ReportViewer* first = reports::ShowReportViewer(Print(QStringLiteral("15")), false, kCaption);
    reports::ReportViewer* second = reports::ShowReportViewer(Print(QStringLiteral("16")), false, kCaption);

    ASSERT_NE(first, second);
    for (reports::ReportViewer* viewer : {first, second}) {
        EXPECT_TRUE(viewer->isWindow());
        EXPECT_EQ(viewer->parentWidget(), nullptr);
        EXPECT_TRUE(viewer->isVisible());
        EXPECT_TRUE(viewer->testAttribute(Qt::WA_DeleteOnClose));
        EXPECT_EQ(viewer->windowTitle(), kCaption);
        EXPECT_FALSE(viewer->ShowGroupTree);
        EXPECT_DOUBLE_EQ(viewer->Zoom(), 1.0);
        EXPECT_GE(viewer->ShownPageCount(), 1);
        EXPECT_EQ(viewer->ShownPageCount(), viewer->ShownDocument().pages.size());
        EXPECT_TRUE(qobject_cast<QScrollArea*>(viewer->centralWidget()));
    }
    EXPECT_TRUE(first->ShownDocument().Texts().contains(QStringLiteral("GAUZE01")));
    EXPECT_FALSE(second->ShownDocument().Texts().contains(QStringLiteral("GAUZE01")));

    const int atHundred = PageWidth(first);
    first->ZoomIn();
    EXPECT_GT(PageWidth(first), atHundred);
}

TEST_F(ReportViewerTest, ClosingAViewerReleasesItsReportButNotTheOthers)
{
    std::shared_ptr<reports::Report> report = Print(QStringLiteral("15"));
    const std::weak_ptr<reports::Report> firstReport = report;
    QPointer<reports::ReportViewer> first = reports::ShowReportViewer(std::move(report), false, kCaption);
    QPointer<reports::ReportViewer> second = reports::ShowReportViewer(Print(QStringLiteral("15")), false, kCaption);

    QApplication::setActiveWindow(first);
    QTest::keyClick(first, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(firstReport.expired());
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(second->ShownReport());
    second->ZoomOut();
    EXPECT_GE(second->ShownPageCount(), 1);
}

TEST_F(ReportViewerTest, WithoutAReportNoWindowOpens)
{
    const qsizetype windows = QApplication::topLevelWidgets().size();
    EXPECT_THROW(reports::ShowReportViewer(nullptr, false, kCaption), reports::ReportError);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
}

// Painting needs a GUI application, which is why this core function is
// tested here.
TEST_F(ReportViewerTest, ExportPdfWritesAPdfFile)
{
    const std::shared_ptr<reports::Report> report = Print(QStringLiteral("15"));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("request.pdf"));
    reports::ExportPdf(*report, file);
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    EXPECT_GT(pdf.size(), 1000);
}

} // namespace
