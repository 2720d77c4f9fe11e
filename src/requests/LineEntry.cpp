#include "requests/LineEntry.h"

#include "app/CurrentUser.h"
#include "app/HospitalInfo.h"
#include "app/SessionContext.h"
#include "base/Texts.h"
#include "db/DbError.h"
#include "forms/BusyCursor.h"
#include "forms/Prompts.h"
#include "locations/LocationServices.h"
#include "records/Item.h"
#include "records/Record.h"
#include "requests/LineColumns.h"
#include "requests/RequestScreen.h"

#include <QScopedValueRollback>

#include <utility>

namespace requests {

namespace {

const QString kMessageTitle = QStringLiteral("MESSAGE");
const QString kHeyTitle = QStringLiteral("HEY!");
const QString kAverageCostPattern = QStringLiteral("########0.0000");
const QString kTotalPattern = QStringLiteral("###,###,##0.0000");
// Rows the lines grid shows below its top row before it scrolls.
constexpr int kVisibleLines = 7;

} // namespace

LineEntry::LineEntry(RequestScreen& screen, app::SessionContext& session, forms::Prompts& prompts,
                     records::RecordServices services)
    : s_(screen), session_(session), prompts_(prompts), services_(std::move(services))
{
    Connect();
}

void LineEntry::Connect()
{
    s_.txtProdCode.SetSelectAllOnFocus(true);
    s_.txtWithdraw.SetSelectAllOnFocus(true);
    s_.focus.SetLeaveCheck(&s_.txtProdCode, [this] { return ProductCodeLeft(); });
    s_.focus.SetLeaveCheck(&s_.cmdCode, [this] { return SearchButtonLeft(); });
    s_.focus.SetLeaveCheck(&s_.txtWithdraw, [this] { return QuantityLeft(); });
    s_.focus.SetLeaveCheck(&s_.txtUnitCost, [this] { return UnitCostLeft(); });
    for (forms::TextField* box : {&s_.txtProdCode, &s_.txtWithdraw, &s_.txtUnitCost})
        connect(box, &forms::TextField::textChanged, this, [this] { s_.cmdOK.SetEnabled(true); });

    connect(&s_.cmdCode, &forms::Button::clicked, this, &LineEntry::SearchProduct);
    connect(&s_.cmdOK, &forms::Button::clicked, this, &LineEntry::StoreLine);
    connect(&s_.cmdAdd, &forms::Button::clicked, this, &LineEntry::Add);
    connect(&s_.cmdDelete, &forms::Button::clicked, this, &LineEntry::Delete);
    connect(&s_.grdDetails, &forms::Grid::activated, this, &LineEntry::OpenCurrentLine);
    connect(&s_.grdDetails, &forms::Grid::keyTyped, this, [this](const QString& text) {
        if (text == QLatin1String("."))
            Delete();
    });
    connect(&s_.grdDetails, &forms::Grid::currentCellChanged, this, [this] {
        if (holdLineLoads_)
            return;
        LoadCurrentLine();
        ShowLineCounter();
    });
    connect(&s_.optConsumed, &forms::OptionGroup::clicked, this, [this](int index) {
        if (index == 0)
            s_.List().LoadRequestList();
    });

    // Enter moves on once; on the button beside the code box too, and from
    // the unit cost and the retail options it goes to "Add to List".
    s_.keys.SetEnterAction(&s_.cmdCode, [this] { s_.focus.FocusNext(); });
    s_.keys.SetEnterAction(&s_.txtUnitCost, [this] { EnterToStoreButton(); });
    s_.keys.SetEnterAction(&s_.optConsumed, [this] { EnterToStoreButton(); });
}

// --- the product code check

void LineEntry::SearchProduct()
{
    codeCheckDue_ = false;
    s_.ForceProductSearch = true;
    ShowOutcome(CheckProductCode());
}

bool LineEntry::ProductCodeLeft()
{
    // Leaving a line's own code (to press Cancel, say) must not search for
    // it anew, as long as the boxes show its figures for these locations.
    if (ShowsItem())
        return true;
    if (s_.focus.Target() == &s_.cmdCode) {
        codeCheckDue_ = true;
        return true;
    }
    codeCheckDue_ = false;
    const Outcome outcome = CheckProductCode();
    if (outcome == Outcome::StayInCode)
        return false;
    if (outcome == Outcome::ToQuantity)
        s_.focus.RedirectAfterMove(&s_.txtWithdraw);
    return true;
}

bool LineEntry::SearchButtonLeft()
{
    if (!std::exchange(codeCheckDue_, false) || s_.focus.Target() == &s_.txtProdCode)
        return true;
    const Outcome outcome = CheckProductCode();
    if (outcome == Outcome::StayInCode) {
        s_.focus.RedirectAfterMove(&s_.txtProdCode);
        return false;
    }
    if (outcome == Outcome::ToQuantity)
        s_.focus.RedirectAfterMove(&s_.txtWithdraw);
    return true;
}

void LineEntry::ShowOutcome(Outcome outcome)
{
    if (outcome == Outcome::ToQuantity)
        s_.focus.Focus(&s_.txtWithdraw);
    else if (outcome == Outcome::StayInCode)
        s_.focus.Focus(&s_.txtProdCode);
}

LineEntry::Outcome LineEntry::CheckProductCode()
{
    // Whatever the boxes showed, only an item this check fills them with
    // counts from now on: a refused code, a kit answered No or a search
    // closed without a pick is checked again at the next leave.
    shown_.reset();
    Outcome outcome = Outcome::StayInCode;
    try {
        outcome = FindItem();
    } catch (const std::exception& e) {
        prompts_.Tell(records::Describe(e));
    }
    s_.ForceProductSearch = false;
    return outcome;
}

const forms::Picker& LineEntry::StockLocation() const
{
    return session_.ClientCode == QLatin1String("KRV") ? s_.cboTargetLocation : s_.cboLocation;
}

void LineEntry::RememberShownItem(const QString& code, const QString& readAt)
{
    shown_ = ShownItem{code, readAt, s_.cboLocation.Tag(), s_.cboTargetLocation.Tag()};
}

bool LineEntry::ShowsItem() const
{
    return shown_ && s_.txtProdCode.Text() == shown_->code && shown_->readAt == StockLocation().Tag()
           && shown_->requestTo == s_.cboLocation.Tag() && shown_->departmentFrom == s_.cboTargetLocation.Tag();
}

LineEntry::Outcome LineEntry::FindItem()
{
    const QString typed = s_.txtProdCode.Text().trimmed();
    if (typed.isEmpty()) {
        s_.txtProdName.Clear();
        return Outcome::MoveOn;
    }
    db::Connection& connection = session_.currentUser->sqlconnection();
    s_.txtProdCode.SetText(locations::GetItemIDByBarcode(connection, typed));

    const forms::Picker& stock = StockLocation();
    records::clsItem item(services_);
    item.ActiveConnection(connection);
    const QString search = s_.ForceProductSearch ? QString() : s_.txtProdCode.Text();
    if (!item.SearchItem(search, stock.Text(), stock.Tag()))
        return Outcome::MoveOn;
    s_.txtProdCode.SetText(item.ItemID);

    if (session_.RefuseZeroOnHand) {
        if (item.OnHand <= 0) {
            RefusedForZeroOnHand();
            return Outcome::StayInCode;
        }
    } else if (s_.Kits().IsKit(item.ItemID)) {
        bool replaced = false;
        {
            const QScopedValueRollback hold(holdLineLoads_, true);
            replaced = s_.Kits().ExpandKit(item.ItemID, s_.grdDetails);
        }
        if (replaced) {
            LoadCurrentLine();
            ShowLineCounter();
            ShowGrandTotal();
        }
        return Outcome::MoveOn;
    }

    FillFromItem(item);
    RememberShownItem(item.ItemID, stock.Tag());
    const QString unitCost = s_.txtUnitCost.Text().trimmed();
    if (unitCost.isEmpty() || unitCost == QLatin1String("0.00"))
        s_.txtUnitCost.SetText(s_.txtAverageCost.Text());
    if (item.IsADSStock)
        s_.chkAdS.SetChecked(true);
    return Outcome::ToQuantity;
}

// The display boxes from a loaded item (an empty one for a blank code).
void LineEntry::FillFromItem(records::clsItem& item)
{
    const std::shared_ptr<records::clsItemMaster> master = item.ItemMaster();
    s_.txtProdName.SetText(item.ItemID.isEmpty() ? QString()
                                                 : master->ItemName.trimmed() + QLatin1Char(' ') + master->ItemDesc);
    s_.txtListCost.SetText(base::PlainNumber(master->ListCost.ToDouble()));
    s_.txtPacking.SetText(QString::number(master->Packing));
    s_.txtOnhand.SetText(base::PlainNumber(item.OnHand));
    s_.txtAverageCost.SetText(base::FormatNumber(master->AverageCost.ToDouble(), kAverageCostPattern));
    s_.txtUOM.SetText(item.UOMDescription);
    s_.txtMax.SetText(base::PlainNumber(item.MaxStock));
    s_.txtMin.SetText(base::PlainNumber(item.MinimumStockLevel));
    s_.chkAdS.SetVisible(item.IsADSStock);
    s_.lblADSStock.SetVisible(item.IsADSStock);
    if (item.IsADSStock)
        s_.lblADSStock.SetCaption(base::PlainNumber(item.ADSStock));
}

void LineEntry::RefusedForZeroOnHand()
{
    Tell(QStringLiteral("Zero Item Onhand"), kHeyTitle, forms::Icon::Critical);
    Tell(QStringLiteral("Enter another item"), QStringLiteral("OK"), forms::Icon::Information);
}

// --- the number boxes

bool LineEntry::QuantityLeft()
{
    if (s_.txtWithdraw.Text().trimmed().isEmpty())
        s_.txtWithdraw.SetText(QStringLiteral("0"));
    const QString quantity = s_.txtWithdraw.Text();
    if (!base::IsNumeric(quantity)) {
        prompts_.Tell(QStringLiteral("Invalid entry..."));
        return false;
    }
    const std::optional<bool> limited = StockLimited();
    if (!limited)
        return false;
    if (*limited && base::Val(s_.txtOnhand.Text()) < base::Val(quantity)) {
        Tell(QStringLiteral("Quantity must be less than or equal to Current Stock..."), kMessageTitle,
             forms::Icon::Information);
        return false;
    }
    s_.txtWithdraw.SetText(base::FormatNumber(base::NumericValue(quantity).value_or(0), QStringLiteral("#########0")));
    ShowLineTotal();
    return true;
}

bool LineEntry::UnitCostLeft()
{
    if (s_.txtUnitCost.Text().trimmed().isEmpty())
        s_.txtUnitCost.SetText(QStringLiteral("0.00"));
    const QString unitCost = s_.txtUnitCost.Text();
    if (!base::IsNumeric(unitCost)) {
        prompts_.Tell(QStringLiteral("Invalid entry..."));
        return false;
    }
    const QString formatted =
        base::FormatNumber(base::NumericValue(unitCost).value_or(0), QStringLiteral("#########0.0000"));
    s_.txtUnitCost.SetText(base::Val(formatted) > 0 ? formatted : QStringLiteral("0.00"));
    ShowLineTotal();
    return true;
}

void LineEntry::ShowLineTotal()
{
    const auto valueOf = [](const forms::TextField& box) {
        return base::IsNumeric(box.Text()) ? base::Val(box.Text()) : 0.0;
    };
    s_.txtTotalCost.SetText(base::FormatNumber(valueOf(s_.txtWithdraw) * valueOf(s_.txtUnitCost), kTotalPattern));
}

// --- storing a line

void LineEntry::StoreLine()
{
    s_.txtTotalCounter.SetVisible(true);
    const QString code = s_.txtProdCode.Text();
    const QString quantity = s_.txtWithdraw.Text();
    const QString unitCost = s_.txtUnitCost.Text();
    const double onHand = base::Val(s_.txtOnhand.Text());
    // A code no check found is no line (it would be stored as typed), nor
    // is one whose figures were read for other locations.
    if (code.trimmed().isEmpty() || !ShowsItem())
        return Refuse(QStringLiteral("Invalid product code..."), &s_.txtProdCode);
    if (!base::IsNumeric(quantity))
        return Refuse(QStringLiteral("Invalid quantity..."), &s_.txtWithdraw);
    const std::optional<bool> limited = StockLimited();
    if (!limited)
        return;
    if (*limited && onHand < base::Val(quantity))
        return Refuse(QStringLiteral("Quantity must be less than or equal to Current Stock..."), &s_.txtWithdraw);
    if (base::Val(quantity) == 0)
        return Refuse(QStringLiteral("Please enter a value for Quantity."), &s_.txtWithdraw);
    if (!base::IsNumeric(unitCost) || base::Val(unitCost) < 0)
        return Refuse(QStringLiteral("Invalid unit cost..."), &s_.txtUnitCost);
    if (base::Val(quantity) < 0) {
        Tell(QStringLiteral("Quantity must not be lesser than zero."), kHeyTitle, forms::Icon::Information);
        s_.focus.Focus(&s_.txtWithdraw);
        return;
    }
    if (session_.RefuseZeroOnHand && onHand <= 0) {
        RefusedForZeroOnHand();
        s_.focus.Focus(&s_.txtProdCode);
        return;
    }
    if (session_.ClientCode == QLatin1String("QORVIN") && onHand < base::Val(quantity))
        Tell(QStringLiteral("The requested quantity is greater than the current stock"), kHeyTitle,
             forms::Icon::Critical);

    forms::Grid& grid = s_.grdDetails;
    const int r = grid.Row();
    grid.SetRowTexts(r, {code, s_.txtProdName.Text(), quantity, unitCost, s_.txtTotalCost.Text(),
                         s_.optConsumed.Selected() == 0 ? QStringLiteral("Y") : QStringLiteral("N"),
                         s_.chkAdS.IsChecked() ? QStringLiteral("Y") : QStringLiteral("N")});
    if (r == grid.Rows() - 1) {
        grid.AddRow();
        MoveToRow(grid.Rows() - 1);
        if (grid.Row() > kVisibleLines)
            grid.SetTopRow(grid.Rows() - kVisibleLines);
        if (s_.txtProdCode.CanTakeFocus())
            s_.focus.Focus(&s_.txtProdCode);
    } else {
        s_.focus.Focus(&grid);
    }
    s_.cmdOK.SetEnabled(false);
    ShowGrandTotal();
    ShowLineCounter();
}

bool LineEntry::EnterItemLine(const QString& itemId, const QString& quantity)
{
    forms::Grid& grid = s_.grdDetails;
    if (grid.Row() != grid.Rows() - 1)
        MoveToRow(grid.Rows() - 1);
    // A code typed in the box finds its item by exact code at the stock
    // location; the code here is the item's own, so the lookup is the same.
    s_.txtUnitCost.Clear();
    s_.chkAdS.SetChecked(false);
    s_.txtProdCode.SetText(itemId);
    shown_.reset();
    const forms::Picker& stock = StockLocation();
    records::clsItem item(services_);
    item.ActiveConnection(session_.currentUser->sqlconnection());
    if (!item.LoadItem(itemId, stock.Tag()))
        return false;
    if (session_.RefuseZeroOnHand && item.OnHand <= 0) {
        RefusedForZeroOnHand();
        return false;
    }
    try {
        FillFromItem(item);
    } catch (const std::exception& e) {
        prompts_.Tell(records::Describe(e));
        return false;
    }
    RememberShownItem(item.ItemID, stock.Tag());
    s_.txtUnitCost.SetText(s_.txtAverageCost.Text());
    if (item.IsADSStock)
        s_.chkAdS.SetChecked(true);
    s_.txtWithdraw.SetText(quantity);
    if (!QuantityLeft() || !UnitCostLeft())
        return false;
    const int rows = grid.Rows();
    StoreLine();
    return grid.Rows() > rows;
}

void LineEntry::Refuse(const QString& text, forms::Control* focusTo)
{
    Tell(text, kMessageTitle, forms::Icon::Information);
    s_.focus.Focus(focusTo);
}

void LineEntry::Tell(const QString& text, const QString& title, forms::Icon icon)
{
    prompts_.Show({text, title, icon, forms::Buttons::Ok});
}

std::optional<bool> LineEntry::StockLimited()
{
    try {
        return app::IsSwitchOn(session_.currentUser->sqlconnection(), QStringLiteral("5"));
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
        return std::nullopt;
    }
}

void LineEntry::EnterToStoreButton()
{
    if (s_.focus.CanFocus(&s_.cmdOK))
        s_.focus.Focus(&s_.cmdOK);
    else
        s_.focus.FocusNext();
}

// --- moving between lines

void LineEntry::MoveToRow(int row)
{
    if (s_.grdDetails.Row() != row) {
        s_.grdDetails.SetRow(row);
        return;
    }
    LoadCurrentLine();
    ShowLineCounter();
}

void LineEntry::Add()
{
    forms::Grid& grid = s_.grdDetails;
    MoveToRow(grid.Rows() - 1);
    if (grid.Row() > kVisibleLines)
        grid.SetTopRow(grid.Rows() - kVisibleLines);
    if (s_.txtProdCode.CanTakeFocus())
        s_.focus.Focus(&s_.txtProdCode);
}

void LineEntry::OpenCurrentLine()
{
    LoadCurrentLine();
    s_.focus.Focus(&s_.txtProdCode);
    ShowLineCounter();
}

void LineEntry::Delete()
{
    forms::Grid& grid = s_.grdDetails;
    const int r = grid.Row();
    if (r < grid.Rows() - 1)
        grid.RemoveRow(r);
    s_.focus.Focus(&grid);
    LoadCurrentLine();
    ShowGrandTotal();
    ShowLineCounter();
}

void LineEntry::LoadCurrentLine()
{
    const forms::Grid& grid = s_.grdDetails;
    const int r = grid.Row();
    if (r < 1)
        return;
    s_.txtProdCode.SetText(grid.Text(r, kCode));
    s_.txtProdName.SetText(grid.Text(r, kName));
    s_.txtWithdraw.SetText(grid.Text(r, kQuantity));
    s_.txtUnitCost.SetText(grid.Text(r, kUnitCost));
    s_.txtTotalCost.SetText(grid.Text(r, kTotal));
    const bool retail = grid.Text(r, kRetail) != QLatin1String("N") && s_.optConsumed.IsOptionEnabled(0);
    s_.optConsumed.Select(retail ? 0 : 1);
    s_.chkAdS.SetChecked(grid.Text(r, kAds) == QLatin1String("Y"));
    LoadLineItem();
}

// The figures of the line's item at the request-to location, on every site.
void LineEntry::LoadLineItem()
{
    forms::BusyCursor busy;
    try {
        records::clsItem item(services_);
        item.ActiveConnection(session_.currentUser->sqlconnection());
        const QString location = s_.cboLocation.Tag();
        if (item.LoadItem(s_.txtProdCode.Text(), location)) {
            s_.txtProdCode.SetText(item.ItemID);
            FillFromItem(item);
            RememberShownItem(item.ItemID, location);
            return;
        }
    } catch (const std::exception& e) {
        // The item's master record could not be read.
        prompts_.Show({records::Describe(e), QStringLiteral("Message"), forms::Icon::Critical,
                                forms::Buttons::Ok});
    }
    shown_.reset();
    for (forms::TextField* box : {&s_.txtProdCode, &s_.txtProdName, &s_.txtListCost, &s_.txtPacking, &s_.txtOnhand,
                                  &s_.txtAverageCost, &s_.txtUnitCost, &s_.txtUOM})
        box->Clear();
}

void LineEntry::ForgetShownItem()
{
    shown_.reset();
}

void LineEntry::HoldGrandTotal(bool hold)
{
    holdGrandTotal_ = hold;
    if (!hold)
        ShowGrandTotal();
}

void LineEntry::ShowGrandTotal()
{
    if (holdGrandTotal_)
        return;
    const forms::Grid& grid = s_.grdDetails;
    base::Money sum;
    for (int r = 1; r < grid.Rows(); ++r) {
        const QString total = grid.Text(r, kTotal);
        if (base::IsNumeric(total))
            sum = sum + base::Money::FromDouble(base::NumericValue(total).value_or(0));
    }
    s_.txtTotalCounter.SetText(base::FormatNumber(sum.ToDouble(), kTotalPattern));
}

void LineEntry::ShowLineCounter()
{
    s_.txtLineCounter.SetText(QStringLiteral("%1/%2").arg(s_.grdDetails.Row()).arg(s_.grdDetails.Rows() - 1));
}

} // namespace requests
