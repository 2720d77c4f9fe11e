#include "records/GenericCollection.h"
#include "records/RowReader.h"

#include <gtest/gtest.h>

namespace {

records::colGeneric::ObjectPtr Add(records::colGeneric& items, const char* name, const QString& key,
                                   double quantity = 1)
{
    return items.Add(name, "5-01", QDateTime(QDate(2026, 3, 1), QTime(10, 0)), quantity, 10, 2.5, 3, 4, "BOX", "8",
                     12.75, true, 6, 7, key);
}

QStringList Names(const records::colGeneric& items)
{
    QStringList names;
    for (const auto& item : items)
        names << item->GenericName;
    return names;
}

} // namespace

TEST(GenericCollection, KeepsInsertionOrderWithOptionalKeys)
{
    records::colGeneric items;
    const auto first = Add(items, "PARACETAMOL", "");
    Add(items, "AMOXICILLIN", "X");
    Add(items, "IBUPROFEN", "");

    EXPECT_EQ(items.Count(), 3);
    EXPECT_EQ(Names(items), (QStringList{"PARACETAMOL", "AMOXICILLIN", "IBUPROFEN"}));
    EXPECT_EQ(items.Item(1), first);
    EXPECT_EQ(items.Item("X")->GenericName, "AMOXICILLIN");
    EXPECT_EQ(items.Item("x"), items.Item(2));

    // Every value lands in its own member.
    EXPECT_EQ(first->GLCode, "5-01");
    EXPECT_EQ(first->LastDeliveryDate, QDateTime(QDate(2026, 3, 1), QTime(10, 0)));
    EXPECT_EQ(first->LastDeliveryQuantity, 1);
    EXPECT_EQ(first->BOH, 10);
    EXPECT_EQ(first->AMC, 2.5);
    EXPECT_EQ(first->IT, 3);
    EXPECT_EQ(first->ForOrderQuantity, 4);
    EXPECT_EQ(first->UOM, "BOX");
    EXPECT_EQ(first->UOM_ID, "8");
    EXPECT_EQ(first->ListCost, 12.75);
    EXPECT_TRUE(first->GenericOrBrand);
    EXPECT_EQ(first->DT, 6);
    EXPECT_EQ(first->SSL, 7);

    items.Remove("X");
    EXPECT_EQ(Names(items), (QStringList{"PARACETAMOL", "IBUPROFEN"}));
    items.Remove(1);
    EXPECT_EQ(Names(items), QStringList{"IBUPROFEN"});
    // The key left with its item.
    Add(items, "CEFALEXIN", "X");
    EXPECT_EQ(items.Item("X")->GenericName, "CEFALEXIN");
}

TEST(GenericCollection, DeliveryQuantityRoundsHalvesToEven)
{
    records::colGeneric items;
    const double quantities[] = {2.5, 3.5, -2.5, 2.49, 32767.4};
    const int expected[] = {2, 4, -2, 2, 32767};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Add(items, "X", "", quantities[i])->LastDeliveryQuantity, expected[i]) << quantities[i];
}

TEST(GenericCollection, FailuresReachTheCallerAndChangeNothing)
{
    records::colGeneric items;
    Add(items, "PARACETAMOL", "A");
    EXPECT_THROW(Add(items, "AMOXICILLIN", "a"), records::CollectionError);
    EXPECT_THROW(Add(items, "AMOXICILLIN", "", 32767.5), records::ConversionError);
    EXPECT_THROW(items.Item(0), records::CollectionError);
    EXPECT_THROW(items.Item(2), records::CollectionError);
    EXPECT_THROW(items.Item("B"), records::CollectionError);
    EXPECT_THROW(items.Remove(2), records::CollectionError);
    EXPECT_THROW(items.Remove("B"), records::CollectionError);
    EXPECT_EQ(Names(items), QStringList{"PARACETAMOL"});
}
