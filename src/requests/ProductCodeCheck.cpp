#include "requests/ProductCodeCheck.h"

#include "app/CurrentUser.h"
#include "app/Texts.h"
#include "locations/LocationServices.h"
#include "records/Item.h"
#include "records/RecordServices.h"
#include "requests/RequestScreen.h"

namespace requests {

ProductCodeCheck::ProductCodeCheck(RequestScreen& screen, const records::RecordServices& services)
    : screen_(screen), services_(services) {}

void ProductCodeCheck::Run()
{
    RequestScreen& s = screen_;
    bool done = false;
    try {
        done = LookUp();
    } catch (const std::exception&) {
        // A failure keeps the focus in the code box and shows nothing.
        s.focus.Focus(&s.txtProdCode);
        s.ForceProductSearch = false;
        return;
    }
    if (done)
        s.focus.Focus(&s.txtWithdraw);
    s.ForceProductSearch = false;
}

bool ProductCodeCheck::LookUp()
{
    RequestScreen& s = screen_;
    if (s.txtProdCode.Text().trimmed().isEmpty()) {
        s.txtProdName.Clear();
        return false;
    }
    db::Connection& connection = services_.session.currentUser->sqlconnection();
    s.txtProdCode.SetText(locations::GetItemIDByBarcode(connection, s.txtProdCode.Text().trimmed()));

    // The stock is looked at where the request is to be supplied from; on
    // the site that keeps it at the department, there.
    const forms::Picker& stock =
        services_.session.ClientCode == QLatin1String("KRV") ? s.cboTargetLocation : s.cboLocation;
    records::clsItem item(services_);
    item.ActiveConnection(connection);
    const QString search = s.ForceProductSearch ? QString() : s.txtProdCode.Text();
    if (!item.SearchItem(search, stock.Text(), stock.Tag()))
        return false;
    s.txtProdCode.SetText(item.ItemID);

    const std::shared_ptr<records::clsItemMaster> master = item.ItemMaster();
    const QString averageCost = app::FormatNumber(master->AverageCost.ToDouble(), QStringLiteral("########0.0000"));
    s.txtProdName.SetText(master->ItemName.trimmed() + QLatin1Char(' ') + master->ItemDesc);
    s.txtListCost.SetText(app::PlainNumber(master->ListCost.ToDouble()));
    s.txtPacking.SetText(QString::number(master->Packing));
    s.txtOnhand.SetText(app::PlainNumber(item.OnHand));
    s.txtAverageCost.SetText(averageCost);
    s.txtUOM.SetText(item.UOMDescription);
    s.txtMax.SetText(app::PlainNumber(item.MaxStock));
    s.txtMin.SetText(app::PlainNumber(item.MinimumStockLevel));
    const QString unitCost = s.txtUnitCost.Text().trimmed();
    if (unitCost.isEmpty() || unitCost == QLatin1String("0.00"))
        s.txtUnitCost.SetText(averageCost);
    s.chkAdS.SetVisible(item.IsADSStock);
    s.lblADSStock.SetVisible(item.IsADSStock);
    if (item.IsADSStock) {
        s.chkAdS.SetChecked(true);
        s.lblADSStock.SetCaption(app::PlainNumber(item.ADSStock));
    }
    return true;
}

} // namespace requests
