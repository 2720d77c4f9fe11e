#include "records/GenericCollection.h"

#include "records/RowReader.h"

namespace records {

namespace {

QString Folded(const QString& key)
{
    return key.toCaseFolded();
}

} // namespace

colGeneric::ObjectPtr colGeneric::Add(const QString& GenericName, const QString& GLCode,
                                      const QDateTime& LastDeliveryDate, double LastDeliveryQuantity, double BOH,
                                      double AMC, double IT, double ForOrderQuantity, const QString& strUOM,
                                      const QString& strUOM_ID, double dblListCost, bool blnGenericOrBrand,
                                      double dblDT, double dblSSL, const QString& sKey)
{
    auto item = std::make_shared<GenericObject>();
    item->GenericName = GenericName;
    item->GLCode = GLCode;
    item->LastDeliveryDate = LastDeliveryDate;
    item->LastDeliveryQuantity = ToInt16(LastDeliveryQuantity);
    item->BOH = BOH;
    item->AMC = AMC;
    item->IT = IT;
    item->ForOrderQuantity = ForOrderQuantity;
    item->UOM = strUOM;
    item->UOM_ID = strUOM_ID;
    item->ListCost = dblListCost;
    item->GenericOrBrand = blnGenericOrBrand;
    item->DT = dblDT;
    item->SSL = dblSSL;
    if (IndexOf(sKey) >= 0)
        throw CollectionError(QStringLiteral("The key '%1' is already in the collection.").arg(sKey).toStdString());
    items_.append(item);
    keys_.append(Folded(sKey));
    return item;
}

colGeneric::ObjectPtr colGeneric::Item(int position) const
{
    CheckPosition(position);
    return items_[position - 1];
}

colGeneric::ObjectPtr colGeneric::Item(const QString& key) const
{
    return Item(PositionOf(key));
}

void colGeneric::Remove(int position)
{
    CheckPosition(position);
    items_.removeAt(position - 1);
    keys_.removeAt(position - 1);
}

void colGeneric::Remove(const QString& key)
{
    Remove(PositionOf(key));
}

qsizetype colGeneric::IndexOf(const QString& key) const
{
    return key.isEmpty() ? -1 : keys_.indexOf(Folded(key));
}

// The 1-based position of the key's item; throws when no item has it.
int colGeneric::PositionOf(const QString& key) const
{
    const qsizetype index = IndexOf(key);
    if (index < 0)
        throw CollectionError(QStringLiteral("No item has the key '%1'.").arg(key).toStdString());
    return int(index) + 1;
}

void colGeneric::CheckPosition(int position) const
{
    if (position < 1 || position > Count())
        throw CollectionError(QStringLiteral("No item at position %1.").arg(position).toStdString());
}

} // namespace records
