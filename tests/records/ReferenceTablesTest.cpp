// Payment terms, units of measure, item classes and generic names.
#include "dialogs/ReferenceLookup.h"
#include "records/Generic.h"
#include "records/ItemClass.h"
#include "records/Terms.h"
#include "records/UnitOfMeasure.h"

#include "RecordsFixture.h"

#include <gtest/gtest.h>

namespace {

using records_testing::ExpectRecordError;

class ReferenceTablesTest : public ::testing::Test, protected records_testing::RecordsFixture {
protected:
    ReferenceTablesTest()
    {
        terms.ActiveConnection(Connection());
        unit.ActiveConnection(Connection());
        itemClass.ActiveConnection(Connection());
        generic.ActiveConnection(Connection());
    }

    void AddTerms(int id, QVariant description, QVariant days = QVariant(), QVariant status = QVariant())
    {
        db.Insert("tbInvTerms", {{"TermsID", id}, {"Terms", description}, {"NoDays", days}, {"Status", status}});
    }
    void AddUnit(int id, const char* name, QVariant status = QVariant())
    {
        db.Insert("tbInvUnitOfMeasure", {{"UnitOfMeasureID", id}, {"UnitOfMeasure", name}, {"Status", status}});
    }
    void AddClass(const char* id, const char* name, QVariant status = QVariant())
    {
        db.Insert("tbInvClassification",
                  {{"ItemClassificationID", id}, {"ItemClassificationName", name}, {"Status", status}});
    }
    QString StoredText(const QString& query) { return db.Native(query).Field(0).toString(); }

    records::clsTerms terms{services};
    records::clsUnitOfMeasure unit{services};
    records::clsItemClass itemClass{services};
    records::clsGeneric generic{services};
};

TEST_F(ReferenceTablesTest, TermsLoadByCodeOrElseByDescription)
{
    AddTerms(2, "NET 30", 30, "A");
    AddTerms(5, "NET 60");

    EXPECT_TRUE(terms.LoadTerms(2, " x "));
    EXPECT_EQ(sent.last(), "Select * From INVENTORY..tbInvTerms Where TermsID =  2 or Terms = 'x'");
    EXPECT_EQ(terms.Code, 2);
    EXPECT_EQ(terms.Description, "NET 30");
    EXPECT_EQ(terms.NumberOfDays, 30);
    EXPECT_EQ(terms.Status, "A");

    // A code that is not stored, a description that is.
    EXPECT_TRUE(terms.LoadTerms(9, "NET 60"));
    EXPECT_EQ(terms.Code, 5);
    EXPECT_EQ(terms.NumberOfDays, 0);
    EXPECT_EQ(terms.Status, "");

    // Neither: reset.
    EXPECT_FALSE(terms.LoadTerms(9, "NET 90"));
    EXPECT_EQ(terms.Code, 0);
    EXPECT_EQ(terms.Description, "");
}

TEST_F(ReferenceTablesTest, TermsCodeZeroOrTheLoadedOneReadsNothing)
{
    AddTerms(5, "NET 60", 60);
    ASSERT_TRUE(terms.LoadTerms(5, ""));
    sent.clear();
    EXPECT_TRUE(terms.LoadTerms(5, "OTHER"));
    EXPECT_TRUE(terms.LoadTerms(0, ""));
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(terms.Code, 0);
    EXPECT_EQ(terms.Description, "");
    EXPECT_EQ(terms.NumberOfDays, 0);
}

TEST_F(ReferenceTablesTest, NullTermsDescriptionReadsAsEmpty)
{
    AddTerms(3, QVariant(), 15);
    EXPECT_TRUE(terms.LoadTerms(3, ""));
    EXPECT_EQ(terms.Description, "");
    EXPECT_EQ(terms.NumberOfDays, 15);
}

TEST_F(ReferenceTablesTest, TermsAreInsertedUnderTheNextCodeOrUpdated)
{
    for (int id : {1, 5})
        AddTerms(id, "NET", 30);
    terms.Code = 42;
    terms.Description = "NET 90";
    terms.NumberOfDays = 90;
    terms.Status = "A";

    EXPECT_TRUE(terms.Update());
    EXPECT_EQ(sent, (QStringList{
                        "Select * From INVENTORY..tbInvTerms Where TermsID = 42",
                        "Select Max( TermsID ) + 1 As NewCode From INVENTORY..tbInvTerms",
                        "Insert Into INVENTORY..tbInvTerms ( TermsID, Terms, NoDays, Status ) Values ( 6,'NET 90', 90,'A')",
                    }));
    EXPECT_EQ(terms.Code, 42);

    terms.Code = 5;
    terms.Description = "O'NEIL TERMS";
    sent.clear();
    EXPECT_TRUE(terms.Update());
    EXPECT_EQ(sent.last(), "Update INVENTORY..tbInvTerms Set Terms = 'O''NEIL TERMS', NoDays = 90, Status = 'A' "
                           "Where TermsID = 5");
    EXPECT_EQ(StoredText("SELECT Terms FROM tbInvTerms WHERE TermsID = 5"), "O'NEIL TERMS");
}

TEST_F(ReferenceTablesTest, FirstTermsAndFirstUnitOfEmptyTablesAreOne)
{
    EXPECT_TRUE(terms.Update());
    EXPECT_EQ(sent.last(), "Insert Into INVENTORY..tbInvTerms ( TermsID, Terms, NoDays, Status ) Values ( 1,'', 0,'')");
    EXPECT_TRUE(unit.Update());
    EXPECT_EQ(sent.last(),
              "Insert Into INVENTORY..tbInvUnitOfMeasure ( UnitOfMeasureID, UnitOfMeasure, Status ) Values ( 1 ,'','')");
}

TEST_F(ReferenceTablesTest, UnitLoadsAndZeroOnAFreshObjectReadsNothing)
{
    AddUnit(12, "PIECE");
    EXPECT_TRUE(unit.LoadUOM(0));
    EXPECT_TRUE(sent.isEmpty());

    EXPECT_TRUE(unit.LoadUOM(12));
    EXPECT_EQ(sent, QStringList{"Select * From INVENTORY..tbInvUnitOfMeasure Where UnitOfMeasureID = 12"});
    EXPECT_EQ(unit.Code, 12);
    EXPECT_EQ(unit.Description, "PIECE");
    EXPECT_EQ(unit.Status, "");

    EXPECT_FALSE(unit.LoadUOM(7));
    EXPECT_EQ(unit.Code, 0);
    EXPECT_EQ(unit.Description, "");
}

TEST_F(ReferenceTablesTest, UnitIsInsertedUnderTheNextCodeOrUpdated)
{
    AddUnit(3, "BOX");
    AddUnit(12, "PIECE");
    unit.Code = 99;
    unit.Description = "VIAL";
    unit.Status = "A";

    EXPECT_TRUE(unit.Update());
    EXPECT_EQ(sent, (QStringList{
                        "Select UnitOfMeasureID From INVENTORY..tbInvUnitOfMeasure Where UnitOfMeasureID = 99",
                        "Select Max( UnitOfMeasureID ) + 1 As NewCode From INVENTORY..tbInvUnitOfMeasure ",
                        "Insert Into INVENTORY..tbInvUnitOfMeasure ( UnitOfMeasureID, UnitOfMeasure, Status ) "
                        "Values ( 13 ,'VIAL','A')",
                    }));
    EXPECT_EQ(unit.Code, 99);

    unit.Code = 3;
    sent.clear();
    EXPECT_TRUE(unit.Update());
    EXPECT_EQ(sent.last(),
              "Update INVENTORY..tbInvUnitOfMeasure Set UnitOfMeasure = 'VIAL', Status = 'A' Where UnitOfMeasureID = 3");
    EXPECT_EQ(StoredText("SELECT UnitOfMeasure FROM tbInvUnitOfMeasure WHERE UnitOfMeasureID = 3"), "VIAL");
}

TEST_F(ReferenceTablesTest, ItemClassLoadsWithStatusAByDefault)
{
    AddClass("C", "CONSUMABLES");
    EXPECT_TRUE(itemClass.LoadItemClass("C"));
    EXPECT_EQ(sent.last(), "Select * From INVENTORY..tbInvClassification Where ItemClassificationID = 'C'");
    EXPECT_EQ(itemClass.Code, "C");
    EXPECT_EQ(itemClass.Description, "CONSUMABLES");
    EXPECT_EQ(itemClass.Status, "A");
    EXPECT_FALSE(itemClass.LoadItemClass("Z"));
    EXPECT_EQ(itemClass.Code, "");
    EXPECT_EQ(itemClass.Status, "");
}

TEST_F(ReferenceTablesTest, NewItemClassTakesTheLetterAfterTheHighestCode)
{
    struct Case { const char* name; QStringList stored; QString code; QString expected; };
    const Case cases[] = {
        {"after C comes D", {"A", "C"}, "New", "D"},
        {"the first character counts", {"AB"}, "  ", "B"},
        {"empty table", {}, "", "A"},
        {"a code of its own is kept", {"C"}, "X7", "X7"},
        {"\"new\" is a code of its own", {"C"}, "new", "new"},
    };
    for (const Case& c : cases) {
        db.Native("DELETE FROM tbInvClassification");
        for (const QString& code : c.stored)
            AddClass(code.toLatin1().constData(), "STORED");
        itemClass.Code = c.code;
        itemClass.Description = "GAUZE";
        itemClass.Status = "A";

        EXPECT_TRUE(itemClass.Update()) << c.name;

        EXPECT_EQ(itemClass.Code, c.expected) << c.name;
        EXPECT_EQ(sent.last(), "Insert Into INVENTORY..tbInvClassification (ItemClassificationID,"
                               "ItemClassificationName, Status ) Values ('" + c.expected + "','GAUZE','A')")
            << c.name;
    }
    sent.clear();
    itemClass.Code = "C";
    itemClass.Description = "CONSUMABLES";
    EXPECT_TRUE(itemClass.Update());
    EXPECT_EQ(sent.last(), "Update INVENTORY..tbInvClassification Set ItemClassificationName = 'CONSUMABLES', "
                           "Status = 'A' Where ItemClassificationID = 'C'");
}

TEST_F(ReferenceTablesTest, GenericTakesTheClassificationOfItsNodeKeyBeforeThePoint)
{
    db.Insert("tbforClassification", {{"Node_Key", "1"}, {"ClassificationName", "ANTI-INFECTIVES"}});
    db.Insert("tbforClassification", {{"Node_Key", "12"}, {"ClassificationName", "ANALGESICS"}});
    db.Insert("tbforGeneric", {{"GenericID", "G1"}, {"GenericName", "PARACETAMOL"}, {"Node_Key", "12.3"}});
    db.Insert("tbforGeneric", {{"GenericID", "G2"}, {"GenericName", "AMOXICILLIN"}, {"Node_Key", "123"}});
    db.Insert("tbforGeneric", {{"GenericID", "G3"}});

    EXPECT_TRUE(generic.LoadGeneric("G1"));
    EXPECT_EQ(sent.last(), " Select C.GenericID, C.GenericName, D.ClassificationName  From tbforGeneric C Left "
                           "Outer Join  tbforClassification D ON SubString(C.Node_Key,1,Case When "
                           "PatIndex('%.%',C.Node_Key) = 0 Then 1 Else PatIndex('%.%',C.Node_Key) -1 End ) = "
                           "D.Node_Key  Where C.GenericID = 'G1'");
    EXPECT_EQ(generic.GenericID(), "G1");
    EXPECT_EQ(generic.GenericName(), "PARACETAMOL");
    EXPECT_EQ(generic.Classification(), "ANALGESICS");

    // Every call reads, the loaded code too.
    EXPECT_TRUE(generic.LoadGeneric("G1"));
    EXPECT_EQ(sent.size(), 2);

    EXPECT_TRUE(generic.LoadGeneric("G2"));
    EXPECT_EQ(generic.Classification(), "ANTI-INFECTIVES");
    EXPECT_TRUE(generic.LoadGeneric("G3"));
    EXPECT_EQ(generic.GenericName(), "");
    EXPECT_EQ(generic.Classification(), "");
    EXPECT_FALSE(generic.LoadGeneric("G9"));
    EXPECT_EQ(generic.GenericID(), "");
}

TEST_F(ReferenceTablesTest, FailuresRaiseWithTheMethodsSourceText)
{
    refuse = [](const QString&) { return true; };
    ExpectRecordError([&] { terms.LoadTerms(1, ""); }, "clsTerms:LoadTerms Method");
    ExpectRecordError([&] { terms.Update(); }, "clsTerms:Update Method");
    ExpectRecordError([&] { unit.LoadUOM(1); }, "clsUnitOfMeasure:LoadUOM Method");
    ExpectRecordError([&] { unit.Update(); }, "clsUnitOfMeasure:Update Method");
    ExpectRecordError([&] { itemClass.LoadItemClass("C"); }, "clsItemClass:LoadItemClass Method");
    ExpectRecordError([&] { itemClass.Update(); }, "clsItemClass:Update Method");
    ExpectRecordError([&] { generic.LoadGeneric("G1"); }, "clsGeneric:LoadGeneric Method");
    EXPECT_FALSE(Connection().InTransaction());
}

TEST_F(ReferenceTablesTest, SearchLoadsTheTermsOrUnitPickedInTheLookup)
{
    AddTerms(2, "NET 30", 30);
    AddTerms(3, "NET 60", 60);
    AddUnit(1, "BOX");
    AddUnit(2, "BOTTLE");
    QStringList captions;
    dialogs.On<dialogs::ReferenceLookup>([&](dialogs::ReferenceLookup& d) {
        captions << d.Caption();
        d.grdLookup.SetRow(2);
        d.ClickSelect();
    });

    EXPECT_TRUE(terms.SearchTerms("NET"));
    EXPECT_EQ(terms.Code, 3);
    EXPECT_TRUE(unit.SearchUOM("BO"));
    EXPECT_EQ(unit.Code, 1);
    EXPECT_EQ(captions, (QStringList{"Terms of Payment", "Unit of Measure"}));

    // A code typed in full is taken without the dialog.
    EXPECT_TRUE(unit.SearchUOM("2"));
    EXPECT_EQ(unit.Description, "BOTTLE");
    EXPECT_EQ(dialogs.Opened().size(), 2);

    dialogs.On<dialogs::ReferenceLookup>([](dialogs::ReferenceLookup& d) { d.ClickCancel(); });
    EXPECT_FALSE(terms.SearchTerms("NET"));
    EXPECT_EQ(terms.Code, 3);
}

} // namespace
