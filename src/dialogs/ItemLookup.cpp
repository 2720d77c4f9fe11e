#include "dialogs/ItemLookup.h"

#include "base/Texts.h"
#include "db/Connection.h"

namespace dialogs {

namespace {

const QList<int> kColumnWidths = {1000, 3000, 2000, 3000, 2000, 2000};

QString MasterWideHead()
{
    return QStringLiteral("Select A.ItemID as Code, A.ItemName As [Product Name], ")
           + QStringLiteral("A.ItemDesc As Description, B.SupplierName As Supplier, A.MarkupIn As [In-Patient Markup], "
                            "A.MarkupOut As [Out-Patient Markup],")
           + QStringLiteral("Case when A.ItemStatus = 1 then 'Inactive' Else 'Active' End  As Status, A.Packing, "
                            "A.ListCost,  ")
           + QStringLiteral("C.ItemClassificationName ") + QStringLiteral("From INVENTORY..tbInvMaster A ")
           + QStringLiteral("Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID ")
           + QStringLiteral("Left Outer Join INVENTORY..tbInvClassification C ON A.ItemClassificationID = "
                            "C.ItemClassificationID ")
           + QStringLiteral(" Where ( A.ItemStatus = 0 or A.ItemStatus is Null ) and IsNull(C.IsFixedAsset,0) <> 1 and ");
}

// The markups and the status come from the stock row at the request-to
// location; the values are the request-to and the department-from IDs.
QString LocationHead()
{
    return QStringLiteral("Select A.ItemID as Code, A.ItemName As [Product Name], ")
           + QStringLiteral("A.ItemDesc As Description, B.SupplierName As Supplier, D.Markup_In As [In-Patient Markup], "
                            "D.Markup_Out As [Out-Patient Markup],")
           + QStringLiteral("Case when D.ItemStatus = 1 then 'Inactive' Else 'Active' end  As Status, A.Packing, "
                            "A.ListCost,  ")
           + QStringLiteral("C.ItemClassificationName ") + QStringLiteral("From INVENTORY..tbInvMaster A ")
           + QStringLiteral("Left Outer Join INVENTORY..tbInvent D ON A.ItemID = D.ItemID ")
           + QStringLiteral("Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID ")
           + QStringLiteral("Left Outer join INVENTORY..tbInvClassification C ON A.ItemClassificationID = "
                            "C.ItemClassificationID ")
           + QStringLiteral("Where D.LocationID = ?")
           + QStringLiteral(" and D.ItemID in (Select itemID from INVENTORY..tbinvent where locationid = ?")
           + QStringLiteral(" and itemStatus = 0) and ")
           + QStringLiteral(" ( D.ItemStatus = 0 or D.ItemStatus is Null ) and ( A.ItemStatus = 0 or A.ItemStatus is "
                            "Null ) and IsNull(C.IsFixedAsset,0) <> 1 and ");
}

// A numeric text is an exact code; anything else the start of a name. The
// value is the code or the name's pattern.
QString SearchCondition(const QString& text)
{
    if (base::IsNumeric(text))
        return QStringLiteral(" A.ItemID = ? ");
    return QStringLiteral(" A.ItemName Like ?");
}

QString SearchValue(const QString& text)
{
    return base::IsNumeric(text) ? text.trimmed() : text.trimmed().toUpper() + QLatin1Char('%');
}

} // namespace

ItemLookup::ItemLookup(db::Connection& connection, forms::Prompts& prompts, QObject* parent)
    : SearchDialog(connection, prompts, parent)
{
    txtLocation.SetLocked(true);
    focus.Add({&txtSearch, &cmdSearch, &grdLookup, &cmdSelect, &cmdClose});
    connect(&txtSearch, &forms::TextField::textChanged, this, [this](const QString& text) {
        if (!loading_)
            ShowSearchAsTyped(SearchStatement(text), kColumnWidths);
    });
    connect(&cmdClose, &forms::Button::clicked, this, [this] { Close(forms::DialogResult::Rejected); });
}

void ItemLookup::Load()
{
    BeginLoad();
    txtLocation.SetText(LocationName);
    loading_ = true;
    txtSearch.SetText(SearchString);
    loading_ = false;
    RunSearch(SearchString);
    focus.Focus(&txtSearch);
}

bool ItemLookup::RunSearch(const QString& text)
{
    return ShowSearch([&] { return SearchStatement(text); }, kColumnWidths);
}

SearchDialog::Query ItemLookup::SearchStatement(const QString& text) const
{
    Query query;
    if (LocationCode.trimmed().isEmpty()) {
        query.text = MasterWideHead();
    } else {
        query.text = LocationHead();
        query.values = {Request.requestToID, Request.departmentFromID};
    }
    query.text += SearchCondition(text) + QStringLiteral(" Order by A.ItemName, A.ItemDesc");
    query.values << SearchValue(text);
    return query;
}

QString RunItemLookup(db::Connection& connection, forms::Prompts& prompts, forms::DialogHost& dialogs,
                      const QString& searchString, const QString& locationName, const QString& locationCode,
                      const RequestLocations& request, db::BackgroundReads* searchReads)
{
    ItemLookup dialog(connection, prompts);
    dialog.SetBackgroundReads(searchReads);
    dialog.LocationName = locationName;
    dialog.LocationCode = locationCode;
    dialog.Request = request;
    dialog.SearchString = searchString;
    return RunSearchDialog(dialogs, dialog);
}

} // namespace dialogs
