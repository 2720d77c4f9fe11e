#include "dialogs/KitPicker.h"

#include "base/Texts.h"
#include "db/Connection.h"
#include "db/Quote.h"

#include <QStringList>
#include <QtMath>

namespace dialogs {

namespace {

const QString kKitGridFormat = QStringLiteral("<Code |>Product Name |>Qty. |<UnitCost |<Packing |For Retail ");
constexpr int kKitGridColumns = 7;
constexpr int kFlagColumnTwips = 1000;

} // namespace

KitPicker::KitPicker(db::Connection& connection, QObject* parent)
    : forms::DialogLogic(parent), connection_(connection)
{
    focus.Add({&flexMSHDetails, &chkAddAllItems, &cmdSelect, &cmdClose});
    connect(&chkAddAllItems, &forms::CheckBox::clicked, this, [this] { AllItems = chkAddAllItems.IsChecked(); });
    connect(&cmdSelect, &forms::Button::clicked, this, &KitPicker::Select);
    connect(&flexMSHDetails, &forms::Grid::activated, this, &KitPicker::Select);
    connect(&cmdClose, &forms::Button::clicked, this, [this] { Close(forms::DialogResult::Rejected); });
}

void KitPicker::Load()
{
    // Every showing starts unticked, and AllItems with it: a choice made
    // for an earlier kit never carries over unseen.
    chkAddAllItems.SetChecked(false);
    AllItems = false;
    LoadKitItems();
    focus.Focus(flexMSHDetails.IsEnabled() ? static_cast<forms::Control*>(&flexMSHDetails) : &cmdClose);
}

void KitPicker::LoadKitItems()
{
    FormatKitGrid();
    const db::RowSet rows = connection_.Execute(
        QStringLiteral("Inventory..sp_Inv_KitofItems ") + db::Quote(ItemID));
    const bool any = !rows.IsEmpty();
    flexMSHDetails.SetEnabled(any);
    cmdSelect.SetEnabled(any);
    if (!any)
        return;
    flexMSHDetails.SetCols(rows.ColumnCount());
    flexMSHDetails.SetRows(rows.RecordCount() + 1);
    for (int r = 0; r < rows.RecordCount(); ++r) {
        QStringList texts;
        for (const QVariant& value : rows.RowAt(r))
            texts << base::ValueText(value);
        flexMSHDetails.SetRowTexts(r + 1, texts);
    }
    flexMSHDetails.SetTopRow(1);
    flexMSHDetails.SetCurrentCell(1, 0);
}

void KitPicker::FormatKitGrid()
{
    flexMSHDetails.Clear();
    flexMSHDetails.SetRows(2);
    flexMSHDetails.SetCols(kKitGridColumns);
    flexMSHDetails.SetFormat(kKitGridFormat);
    // The name column is four times the width that fits its header; the
    // code and the figures share the grid's width by sevenths.
    const int nameWidth = 4 * forms::HeaderFitWidthTwips(flexMSHDetails.Text(0, 1));
    const int seventh = qRound(double(kGridWidthTwips) / kKitGridColumns);
    flexMSHDetails.SetColumnWidths({seventh, nameWidth, seventh, seventh, seventh, kFlagColumnTwips, kFlagColumnTwips});
}

void KitPicker::Select()
{
    if (!flexMSHDetails.IsEnabled() || flexMSHDetails.Row() < 1)
        return;
    ItemID = flexMSHDetails.Text(flexMSHDetails.Row(), 0);
    Close(forms::DialogResult::Accepted);
}

} // namespace dialogs
