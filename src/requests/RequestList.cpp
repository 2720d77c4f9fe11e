#include "requests/RequestList.h"

#include "app/Texts.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "forms/BusyCursor.h"
#include "forms/Prompts.h"
#include "requests/RequestQueries.h"

namespace requests {

namespace {

const QString kListFormat = QStringLiteral(
    "Doc #     |Request From                |To                           |Date             |Requested By");
const QList<int> kListWidths = {1200, 2000, 2000, 1700, 2200, 0};

// Date-times read the same on every desktop, whatever its locale; to the
// minute, so they fit the date column.
QString CellText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QDateTime)
        return app::FormatDateTimeToMinute(value.toDateTime());
    return value.toString();
}

} // namespace

RequestList::RequestList(db::Connection& connection, forms::Prompts& prompts, QString employeeId,
                         forms::Button& cmdEdit, forms::Button& cmdDetails, QObject* parent)
    : QObject(parent), connection_(connection), prompts_(prompts), employeeId_(std::move(employeeId)),
      cmdEdit_(cmdEdit), cmdDetails_(cmdDetails)
{
    optOptions.Select(0);
    grdListing.SetCols(6);
    grdListing.SetFormat(kListFormat);
    connect(&optOptions, &forms::OptionGroup::clicked, this, &RequestList::OptionClicked);
    connect(&chkverified, &forms::CheckBox::clicked, this, &RequestList::VerifiedClicked);
}

void RequestList::LoadRequestList()
{
    forms::BusyCursor busy;
    try {
        const db::RowSet rows = connection_.Execute(
            RequestListStatement(employeeId_, optOptions.IsSelected(0), chkverified.IsChecked()));
        ShowRows(rows);
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
    }
}

void RequestList::ShowRows(const db::RowSet& rows)
{
    grdListing.SetEnabled(!rows.IsEmpty());
    grdListing.Clear();
    grdListing.SetCols(6);
    if (rows.IsEmpty()) {
        grdListing.SetRows(2);
    } else {
        grdListing.SetRows(rows.RecordCount() + 1);
        for (int r = 0; r < rows.RecordCount(); ++r)
            for (int c = 0; c < 6; ++c)
                grdListing.SetText(r + 1, c, CellText(rows.RowAt(r).value(c)));
        grdListing.SetColumnWidths(kListWidths);
    }
    grdListing.SetFormat(kListFormat);
}

void RequestList::OptionClicked()
{
    const bool processed = optOptions.IsSelected(1);
    const bool tickChanges = chkverified.IsChecked() != processed;
    chkverified.SetEnabled(!processed);
    chkverified.SetChecked(processed);
    if (tickChanges)
        VerifiedClicked();
    LoadRequestList();
}

void RequestList::VerifiedClicked()
{
    LoadRequestList();
    const bool ticked = chkverified.IsChecked();
    if (!ticked)
        grdListing.SetEnabled(true);
    cmdEdit_.SetEnabled(!ticked);
    cmdDetails_.SetEnabled(!ticked);
}

QString RequestList::SelectedNumber() const
{
    return grdListing.Text(grdListing.Row(), kNumberColumn);
}

QString RequestList::SelectedFromLocation() const
{
    return grdListing.Text(grdListing.Row(), kFromLocationColumn);
}

} // namespace requests
