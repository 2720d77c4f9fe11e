#include "dialogs/ReferenceLookup.h"
#include "records/Supplier.h"

#include "RecordsFixture.h"

#include <gtest/gtest.h>

namespace {

using records_testing::ExpectRecordError;

class SupplierTest : public ::testing::Test, protected records_testing::RecordsFixture {
protected:
    SupplierTest() { supplier.ActiveConnection(Connection()); }

    void AddSupplier(const char* id, const char* name, QVariant terms = QVariant(), QVariant freeGoods = QVariant(),
                     QVariant vat = QVariant())
    {
        db.Insert("tbInvSupplier", {{"SupplierID", id}, {"SupplierName", name}, {"Status", "A"},
                                    {"SupplierType", "LOCAL"}, {"Address1", "45 KALAYAAN AVE"}, {"TermsID", terms},
                                    {"TelNum", "8921-4410"}, {"FreeGoods", freeGoods}, {"isVAT", vat},
                                    {"ContactPerson", "L. TAN"}});
    }
    void AddTerms(int id, QVariant description, QVariant days = QVariant())
    {
        db.Insert("tbInvTerms", {{"TermsID", id}, {"Terms", description}, {"NoDays", days}});
    }

    QString StoredText(const QString& query) { return db.Native(query).Field(0).toString(); }

    // A supplier ready to store, with terms of this code.
    void Prepare(qint16 termsCode)
    {
        auto terms = std::make_shared<records::clsTerms>(services);
        terms->Code = termsCode;
        supplier.Terms(terms);
        supplier.SupplierName = "DELTA MEDICAL";
        supplier.Status = "A";
        supplier.SupplierType = "LOCAL";
        supplier.Address1 = "2 PORT RD";
        supplier.TelNum = "555-0101";
        supplier.FreeGoods = true;
        supplier.ContactPerson = "JO";
    }

    records::clsSupplier supplier{services};
};

TEST_F(SupplierTest, LoadFillsTheRowAndItsTermsOnFirstRead)
{
    AddSupplier("1", "MERIDIAN PHARMA", 2, 1, 0);
    AddTerms(2, "NET 30", 30);

    EXPECT_TRUE(supplier.LoadSupplier("1"));
    EXPECT_EQ(sent, QStringList{"Select * From INVENTORY..tbInvSupplier Where SupplierID = '1'"});
    EXPECT_EQ(supplier.SupplierID, "1");
    EXPECT_EQ(supplier.SupplierName, "MERIDIAN PHARMA");
    EXPECT_EQ(supplier.Status, "A");
    EXPECT_EQ(supplier.SupplierType, "LOCAL");
    EXPECT_EQ(supplier.Address1, "45 KALAYAAN AVE");
    EXPECT_EQ(supplier.Address2, "");
    EXPECT_EQ(supplier.TelNum, "8921-4410");
    EXPECT_EQ(supplier.ContactPerson, "L. TAN");
    EXPECT_TRUE(supplier.FreeGoods);
    EXPECT_FALSE(supplier.VATSupplier);

    const auto terms = supplier.Terms();
    EXPECT_EQ(sent.last(), "Select * From INVENTORY..tbInvTerms Where TermsID =  2 or Terms = ''");
    EXPECT_EQ(terms->Description, "NET 30");
    EXPECT_EQ(terms->NumberOfDays, 30);
    EXPECT_EQ(supplier.Terms(), terms);
    EXPECT_EQ(sent.size(), 2);

    // The loaded ID again reads nothing and keeps the terms.
    EXPECT_TRUE(supplier.LoadSupplier("1"));
    EXPECT_EQ(sent.size(), 2);
    EXPECT_EQ(supplier.Terms(), terms);
}

TEST_F(SupplierTest, NullFlagsReadAsFalseAndNullTermsCodeAsNoTerms)
{
    AddSupplier("1", "MERIDIAN PHARMA", 2, 1, 1);
    AddTerms(2, "NET 30", 30);
    ASSERT_TRUE(supplier.LoadSupplier("1"));
    ASSERT_EQ(supplier.Terms()->Code, 2);
    AddSupplier("2", "MEDLINE");

    EXPECT_TRUE(supplier.LoadSupplier("2"));

    EXPECT_FALSE(supplier.FreeGoods);
    EXPECT_FALSE(supplier.VATSupplier);
    // Terms code 0: reset terms, nothing read.
    sent.clear();
    EXPECT_EQ(supplier.Terms()->Code, 0);
    EXPECT_EQ(supplier.Terms()->Description, "");
    EXPECT_TRUE(sent.isEmpty());
}

TEST_F(SupplierTest, BlankOrMissingIdResetsAllButTheKeptMembers)
{
    AddSupplier("1", "MERIDIAN PHARMA", 2, 1, 1);
    ASSERT_TRUE(supplier.LoadSupplier("1"));

    EXPECT_FALSE(supplier.LoadSupplier("99"));
    EXPECT_EQ(supplier.SupplierID, "");
    EXPECT_EQ(supplier.SupplierName, "");
    EXPECT_EQ(supplier.TelNum, "");
    // Kept by the reset.
    EXPECT_EQ(supplier.Status, "A");
    EXPECT_EQ(supplier.ContactPerson, "L. TAN");
    EXPECT_TRUE(supplier.FreeGoods);
    EXPECT_TRUE(supplier.VATSupplier);

    sent.clear();
    EXPECT_TRUE(supplier.LoadSupplier("  "));
    EXPECT_TRUE(sent.isEmpty());
}

TEST_F(SupplierTest, NewSupplierTakesTheNextIdWithTermsZeroWrittenAsZero)
{
    AddSupplier("1", "MERIDIAN PHARMA");
    AddSupplier("12", "MEDLINE");
    Prepare(0);
    supplier.SupplierID = "NEW";

    EXPECT_TRUE(supplier.Update());

    EXPECT_EQ(sent, (QStringList{
                        "Select SupplierID From INVENTORY..tbInvSupplier Where SupplierID = 'NEW'",
                        "Select Convert( VarChar(4),Max( Convert(Integer,SupplierID) ) + 1) As NewSupplierID From "
                        "INVENTORY..tbInvSupplier ",
                        "Insert Into INVENTORY..tbInvSupplier (SupplierID, SupplierName, Status, SupplierType, "
                        "Address1, Address2, Address3, TermsID, TelNum, FreeGoods, isVAT, ContactPerson ) Values "
                        "('13','DELTA MEDICAL ','A','LOCAL','2 PORT RD','',''," " 0,'555-0101', 1,0,'JO' )",
                    }));
    EXPECT_EQ(supplier.SupplierID, "NEW");
    // The name is stored with a blank after it.
    EXPECT_EQ(StoredText("SELECT SupplierName || '|' || TermsID FROM tbInvSupplier WHERE SupplierID = '13'"),
              "DELTA MEDICAL |0");
}

TEST_F(SupplierTest, LetteredIdsAreCountedAroundAsRequestNumberingDoes)
{
    for (const char* id : {"S001", "7", "A12"})
        AddSupplier(id, "OLD");
    Prepare(0);

    EXPECT_TRUE(supplier.Update());

    ASSERT_EQ(sent.size(), 4);
    EXPECT_EQ(sent[2], "Select SupplierID From INVENTORY..tbInvSupplier");
    EXPECT_TRUE(sent[3].contains("Values ('8',")) << sent[3].toStdString();
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbInvSupplier"), 4);
}

TEST_F(SupplierTest, KnownSupplierIsUpdatedWithTermsZeroAsNull)
{
    struct Case { qint16 terms; const char* termsText; const char* stored; };
    const Case cases[] = {{0, "null", ""}, {5, " 5", "5"}};
    for (const Case& c : cases) {
        AddSupplier("7", "MEDLINE", 3);
        ASSERT_TRUE(supplier.LoadSupplier("7"));
        Prepare(c.terms);
        supplier.Address2 = "O'HARA BLDG";
        supplier.VATSupplier = true;
        sent.clear();

        EXPECT_TRUE(supplier.Update());

        ASSERT_EQ(sent.size(), 2);
        EXPECT_EQ(sent[1], QString("Update INVENTORY..tbInvSupplier Set SupplierName = 'DELTA MEDICAL', Status = 'A', "
                                   "SupplierType = 'LOCAL', Address1 = '2 PORT RD', Address2 = 'O''HARA BLDG', "
                                   "Address3 = '', TermsID = %1, TelNum = '555-0101', FreeGoods = 1, isVAT = 1, "
                                   "ContactPerson = 'JO' where SupplierID = '7'")
                               .arg(c.termsText));
        EXPECT_EQ(StoredText("SELECT ifnull(TermsID, '') FROM tbInvSupplier WHERE SupplierID = '7'"), c.stored);
        db.Native("DELETE FROM tbInvSupplier");
    }
}

TEST_F(SupplierTest, UpdateFailuresRaiseWithTheDescriptionAfterTheSource)
{
    // No terms given or read.
    ExpectRecordError([&] { supplier.Update(); },
                      "clsSupplier:Update Method :The Terms record was neither set nor read before the update.");
    EXPECT_TRUE(sent.isEmpty());

    Prepare(2);
    refuse = [](const QString& statement) { return statement.startsWith("Insert"); };
    ExpectRecordError([&] { supplier.Update(); }, "clsSupplier:Update Method :Statement refused");
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbInvSupplier"), 0);
    EXPECT_FALSE(Connection().InTransaction());
}

TEST_F(SupplierTest, LoadFailureRaises)
{
    refuse = [](const QString&) { return true; };
    ExpectRecordError([&] { supplier.LoadSupplier("1"); }, "clsSupplier:LoadSupplier Method");
}

TEST_F(SupplierTest, SearchLoadsTheSupplierPickedInTheLookup)
{
    AddSupplier("1", "MERIDIAN PHARMA");
    AddSupplier("2", "MEDLINE");
    // A single match is taken without the dialog.
    EXPECT_TRUE(supplier.SearchSupplier("MER"));
    EXPECT_EQ(supplier.SupplierName, "MERIDIAN PHARMA");
    EXPECT_TRUE(dialogs.Opened().isEmpty());

    dialogs.On<dialogs::ReferenceLookup>([](dialogs::ReferenceLookup& d) {
        EXPECT_EQ(d.Caption(), "Supplier");
        d.ClickSelect();
    });
    EXPECT_TRUE(supplier.SearchSupplier("ME"));
    EXPECT_EQ(supplier.SupplierID, "2");

    dialogs.On<dialogs::ReferenceLookup>([](dialogs::ReferenceLookup& d) { d.ClickCancel(); });
    EXPECT_FALSE(supplier.SearchSupplier("ME"));
    EXPECT_EQ(supplier.SupplierID, "2");
}

} // namespace
