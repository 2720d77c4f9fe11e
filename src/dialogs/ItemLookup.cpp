#include "dialogs/ItemLookup.h"

#include "app/CurrentUser.h"
#include "app/SessionContext.h"
#include "app/Texts.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Quote.h"
#include "forms/Prompts.h"

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
// location.
QString LocationHead(const QString& requestToId, const QString& departmentFromId)
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
           + QStringLiteral("Where D.LocationID = ") + db::Quote(requestToId)
           + QStringLiteral(" and D.ItemID in (Select itemID from INVENTORY..tbinvent where locationid = ")
           + db::Quote(departmentFromId) + QStringLiteral(" and itemStatus = 0) and ")
           + QStringLiteral(" ( D.ItemStatus = 0 or D.ItemStatus is Null ) and ( A.ItemStatus = 0 or A.ItemStatus is "
                            "Null ) and IsNull(C.IsFixedAsset,0) <> 1 and ");
}

// A numeric text is an exact code; anything else the start of a name.
QString SearchCondition(const QString& text)
{
    if (app::IsNumeric(text))
        return QStringLiteral(" A.ItemID = ") + db::Quote(text.trimmed()) + QStringLiteral(" ");
    return QStringLiteral(" A.ItemName Like ") + db::Quote(text.trimmed().toUpper() + QLatin1Char('%'));
}

} // namespace

ItemLookup::ItemLookup(app::SessionContext& session, forms::Prompts& prompts, QObject* parent)
    : forms::DialogLogic(parent), session_(session), prompts_(prompts)
{
    txtLocation.SetLocked(true);
    focus.Add({&txtSearch, &cmdSearch, &grdLookup, &cmdSelect, &cmdClose});
    connect(&focus, &forms::FocusChain::currentChanged, this, &ItemLookup::FocusChanged);
    connect(&txtSearch, &forms::TextField::textChanged, this, [this](const QString& text) {
        if (!loading_)
            RunSearch(text);
    });
    connect(&cmdSearch, &forms::Button::clicked, this, &ItemLookup::SearchClicked);
    connect(&cmdSelect, &forms::Button::clicked, this, &ItemLookup::Select);
    connect(&cmdClose, &forms::Button::clicked, this, [this] { Close(forms::DialogResult::Rejected); });
    connect(&grdLookup, &forms::ResultGrid::activated, this, &ItemLookup::Select);
    connect(&grdLookup, &forms::ResultGrid::keyDown, this, &ItemLookup::GridKeyDown);
    connect(&grdLookup, &forms::ResultGrid::readFailed, this,
            [this](const QString& description) { prompts_.Tell(description); });
}

void ItemLookup::Load()
{
    blnExactMatch = false;
    session_.SelectedLookupCode.clear();
    txtLocation.SetText(LocationName);
    loading_ = true;
    txtSearch.SetText(SearchString);
    loading_ = false;
    RunSearch(SearchString);
    focus.Focus(&txtSearch);
}

void ItemLookup::TypeSearchText(const QString& text)
{
    focus.Focus(&txtSearch);
    txtSearch.SetText(text.toUpper());
}

void ItemLookup::GridKeyDown(int keyCode)
{
    if (keyCode == kKeyBackspace) {
        const int length = int(txtSearch.Text().trimmed().size());
        if (length > 0)
            txtSearch.SetText(txtSearch.Text().left(length - 1));
        return;
    }
    const QChar key = QChar(keyCode).toUpper();
    if (key < QLatin1Char('A') || key > QLatin1Char('Z'))
        return;
    focus.Focus(&txtSearch);
    txtSearch.SetText(QString(key));
}

bool ItemLookup::RunSearch(const QString& text)
{
    bool found = false;
    try {
        grdLookup.Unbind();
        std::unique_ptr<db::Cursor> rows = session_.currentUser->sqlconnection().OpenCursor(SearchStatement(text));
        if (!rows->Reach(1)) {
            ShowNoRows();
            return false;
        }
        found = true;
        // One row and no second: the caller takes it without showing the
        // dialog.
        if (!rows->Reach(2)) {
            blnExactMatch = true;
            SearchString = rows->Value(0, rows->ColumnIndex(QStringLiteral("Code"))).toString();
        }
        grdLookup.SetEnabled(true);
        cmdSelect.SetEnabled(true);
        grdLookup.Bind(std::move(rows));
        grdLookup.SetColumnWidths(kColumnWidths);
        return true;
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
        if (!grdLookup.IsBound())
            ShowNoRows();
        return found;
    }
}

QString ItemLookup::SearchStatement(const QString& text) const
{
    QString statement;
    if (LocationCode.trimmed().isEmpty()) {
        statement = MasterWideHead();
    } else {
        const app::OpenRequestLocations* request = session_.OpenRequest;
        statement = LocationHead(request ? request->RequestToLocationID() : QString(),
                                 request ? request->DepartmentFromLocationID() : QString());
    }
    return statement + SearchCondition(text) + QStringLiteral(" Order by A.ItemName, A.ItemDesc");
}

void ItemLookup::ShowNoRows()
{
    grdLookup.SetEnabled(false);
    cmdSelect.SetEnabled(false);
    grdLookup.Unbind();
}

void ItemLookup::SearchClicked()
{
    if (RunSearch(txtSearch.Text()))
        focus.Focus(&grdLookup);
    else
        focus.Focus(&txtSearch);
}

void ItemLookup::Select()
{
    if (grdLookup.Row() < 1)
        return;
    session_.SelectedLookupCode = grdLookup.Text(grdLookup.Row(), 0);
    Close(forms::DialogResult::Accepted);
}

void ItemLookup::FocusChanged(forms::Control*, forms::Control* current)
{
    cmdSearch.SetDefault(current == &txtSearch);
    cmdSelect.SetDefault(current == &grdLookup);
}

void RunItemLookup(app::SessionContext& session, forms::Prompts& prompts, forms::DialogHost& dialogs,
                   const QString& searchString, const QString& locationName, const QString& locationCode)
{
    ItemLookup dialog(session, prompts);
    dialog.LocationName = locationName;
    dialog.LocationCode = locationCode;
    dialog.SearchString = searchString;
    dialog.Load();
    if (dialog.blnExactMatch) {
        session.SelectedLookupCode = dialog.SearchString;
        return;
    }
    dialogs.Run(dialog);
}

} // namespace dialogs
