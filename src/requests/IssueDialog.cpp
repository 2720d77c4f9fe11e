#include "requests/IssueDialog.h"

#include "base/Texts.h"
#include "db/DbError.h"
#include "forms/BusyCursor.h"
#include "forms/Prompts.h"

#include <algorithm>

namespace requests {

namespace {

const QString kLinesFormat = QStringLiteral("<Code |<Item |>Requested |>On Hand |>Issue |>Short");
const QList<int> kLinesWidths = {1000, 3600, 1000, 1000, 1000, 1000};
constexpr int kColumns = 6;
const QString kTotalPattern = QStringLiteral("###,###,##0.00");

} // namespace

IssueDialog::IssueDialog(db::Connection& connection, forms::Prompts& prompts, QString userId, QObject* parent)
    : forms::DialogLogic(parent), connection_(connection), prompts_(prompts), userId_(std::move(userId))
{
    txtIssue.SetSelectAllOnFocus(true);
    grdLines.SetCols(kColumns);
    grdLines.SetFormat(kLinesFormat);
    grdLines.SetColumnWidths(kLinesWidths);
    focus.Add({&grdLines, &txtIssue, &chkRemainder, &cmdIssue, &cmdCancel});
    focus.SetLeaveCheck(&txtIssue, [this] { return IssueLeft(); });
    connect(&grdLines, &forms::Grid::currentCellChanged, this, [this](int row, int) { ShowLine(row); });
    connect(&grdLines, &forms::Grid::activated, this, [this] { focus.Focus(&txtIssue); });
    connect(&cmdIssue, &forms::Button::clicked, this, &IssueDialog::Issue);
    connect(&cmdCancel, &forms::Button::clicked, this, [this] { Close(forms::DialogResult::Rejected); });
}

QString IssueDialog::Caption() const
{
    return QStringLiteral("Issue Request %1").arg(draft_.stored.number);
}

void IssueDialog::Load(const IssueDraft& draft)
{
    draft_ = draft;
    remainder_.clear();
    changedElsewhere_ = false;
    lblRequest.SetCaption(QStringLiteral("Request %1 from %2 to %3")
                              .arg(draft_.stored.number, draft_.fromName.trimmed(), draft_.toName.trimmed()));
    grdLines.SetRows(1);
    grdLines.SetRows(int(draft_.lines.size()) + 1);
    for (int r = 1; r <= draft_.lines.size(); ++r) {
        const IssueLine& line = draft_.lines[r - 1];
        grdLines.SetRowTexts(r, {line.itemId, line.name, base::PlainNumber(line.requested),
                                 base::PlainNumber(line.onHand), base::PlainNumber(line.issue),
                                 base::PlainNumber(line.Short())});
    }
    chkRemainder.SetChecked(false);
    shownRow_ = 0;
    grdLines.SetCurrentCell(1, kCode);
    ShowLine(grdLines.Row());
    ShowTotals();
    focus.Focus(draft_.lines.isEmpty() ? static_cast<forms::Control*>(&cmdCancel) : &txtIssue);
}

void IssueDialog::ShowLine(int row)
{
    if (row < 1 || row > draft_.lines.size())
        return;
    shownRow_ = row;
    txtIssue.SetText(base::PlainNumber(draft_.lines[row - 1].issue));
}

bool IssueDialog::Refuse(const QString& text)
{
    prompts_.Tell(text, forms::Icon::Information);
    return false;
}

bool IssueDialog::IssueLeft()
{
    // Cancel leaves whatever the box holds.
    if (shownRow_ < 1 || shownRow_ > draft_.lines.size() || focus.Target() == &cmdCancel)
        return true;
    IssueLine& line = draft_.lines[shownRow_ - 1];
    if (txtIssue.Text().trimmed().isEmpty())
        txtIssue.SetText(QStringLiteral("0"));
    const std::optional<double> value = base::NumericValue(txtIssue.Text());
    if (!value || *value < 0)
        return Refuse(QStringLiteral("Enter the quantity to issue: 0 or more."));
    if (*value > line.onHand)
        return Refuse(QStringLiteral("Only %1 of %2 is on hand at the store: issue at most that.")
                          .arg(base::PlainNumber(std::max(line.onHand, 0.0)), line.itemId));
    if (*value > line.requested)
        return Refuse(QStringLiteral("%1 of %2 was requested: issue at most that.")
                          .arg(base::PlainNumber(line.requested), line.itemId));
    line.issue = *value;
    txtIssue.SetText(base::PlainNumber(line.issue));
    grdLines.SetText(shownRow_, kIssue, base::PlainNumber(line.issue));
    grdLines.SetText(shownRow_, kShort, base::PlainNumber(line.Short()));
    ShowTotals();
    return true;
}

void IssueDialog::IssueEntered()
{
    if (!IssueLeft())
        return;
    if (grdLines.Row() < grdLines.Rows() - 1)
        grdLines.SetRow(grdLines.Row() + 1);
    else
        focus.Focus(&cmdIssue);
}

void IssueDialog::ShowTotals()
{
    double units = 0;
    double value = 0;
    double shortUnits = 0;
    int shortLines = 0;
    for (const IssueLine& line : std::as_const(draft_.lines)) {
        units += line.issue;
        value += line.issue * line.unitCost;
        if (line.Short() > 0) {
            shortUnits += line.Short();
            ++shortLines;
        }
    }
    lblTotal.SetCaption(QStringLiteral("To issue: %1 unit(s), worth %2")
                            .arg(base::PlainNumber(units), base::FormatNumber(value, kTotalPattern)));
    lblShort.SetCaption(shortLines == 0 ? QStringLiteral("Everything requested is issued.")
                                        : QStringLiteral("Not issued: %1 unit(s) on %2 line(s).")
                                              .arg(base::PlainNumber(shortUnits))
                                              .arg(shortLines));
    chkRemainder.SetEnabled(shortLines > 0);
    if (shortLines == 0)
        chkRemainder.SetChecked(false);
}

void IssueDialog::Issue()
{
    if (std::none_of(draft_.lines.cbegin(), draft_.lines.cend(), [](const IssueLine& l) { return l.issue > 0; })) {
        Refuse(QStringLiteral("Nothing would be issued: enter a quantity for at least one line."));
        focus.Focus(&txtIssue);
        return;
    }
    IssueOrder order;
    order.opened = draft_.stored;
    order.lines = draft_.lines;
    order.userId = userId_;
    order.remarks = draft_.remarks;
    order.remainderAsRequest = chkRemainder.IsChecked();
    try {
        forms::BusyCursor busy;
        remainder_ = IssueRequest(connection_, order);
    } catch (const ConflictError& e) {
        prompts_.Tell(e.Description() + QStringLiteral(" Nothing was issued."), forms::Icon::Exclamation);
        changedElsewhere_ = true;
        Close(forms::DialogResult::Rejected);
        return;
    } catch (const ShortStockError& e) {
        prompts_.Tell(e.Description(), forms::Icon::Exclamation);
        RefreshStock();
        return;
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
        return;
    }
    Close(forms::DialogResult::Accepted);
}

// Another clerk took stock meanwhile: the figures are read again and no
// line issues more than is there now; the clerk looks and issues again.
void IssueDialog::RefreshStock()
{
    IssueDraft now;
    try {
        now = ReadIssue(connection_, draft_.stored.number);
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
        return;
    }
    for (int r = 1; r <= draft_.lines.size(); ++r) {
        IssueLine& line = draft_.lines[r - 1];
        const auto same = std::find_if(now.lines.cbegin(), now.lines.cend(),
                                       [&](const IssueLine& l) { return l.lineNo == line.lineNo; });
        if (same == now.lines.cend())
            continue;
        line.onHand = same->onHand;
        line.issue = std::max(0.0, std::min(line.issue, line.onHand));
        grdLines.SetText(r, kOnHand, base::PlainNumber(line.onHand));
        grdLines.SetText(r, kIssue, base::PlainNumber(line.issue));
        grdLines.SetText(r, kShort, base::PlainNumber(line.Short()));
    }
    ShowLine(grdLines.Row());
    ShowTotals();
    focus.Focus(&txtIssue);
}

} // namespace requests
