#include "requests/RequestList.h"

#include "base/Texts.h"
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
        return base::FormatDateTimeToMinute(value.toDateTime());
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
        const QString selected = SelectedNumber();
        ShowRows(rows);
        Select(selected);
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
    }
}

void RequestList::ShowRows(const db::RowSet& rows)
{
    grdListing.SetEnabled(!rows.IsEmpty());
    grdListing.Clear();
    grdListing.SetCols(6);
    listed_.clear();
    if (rows.IsEmpty()) {
        grdListing.SetRows(2);
    } else {
        grdListing.SetRows(rows.RecordCount() + 1);
        for (int r = 0; r < rows.RecordCount(); ++r) {
            const db::RowSet::Row& row = rows.RowAt(r);
            for (int c = 0; c < 6; ++c)
                grdListing.SetText(r + 1, c, CellText(row.value(c)));
            listed_.append({row.value(0).toString(), row.value(4).toString(), row.value(3).toDateTime(),
                            row.value(5).toString(), chkverified.IsChecked(), optOptions.IsSelected(1)});
        }
        grdListing.SetColumnWidths(kListWidths);
    }
    grdListing.SetFormat(kListFormat);
}

void RequestList::Select(const QString& number)
{
    if (number.isEmpty())
        return;
    for (int r = 0; r < listed_.size(); ++r)
        if (listed_[r].number == number)
            return grdListing.SetRow(r + 1);
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

ListedRequest RequestList::SelectedRequest() const
{
    const int r = grdListing.Row();
    if (r >= 1 && r <= listed_.size())
        return listed_[r - 1];
    // Nothing listed there: a request of that number is not as listed.
    return ListedRequest{SelectedNumber(), {}, {}, SelectedFromLocation(), chkverified.IsChecked(),
                         optOptions.IsSelected(1)};
}

} // namespace requests
