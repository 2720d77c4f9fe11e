#include "requests/LevelFill.h"

#include "app/CurrentUser.h"
#include "app/SessionContext.h"
#include "base/Texts.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Quote.h"
#include "forms/BusyCursor.h"
#include "forms/Prompts.h"
#include "requests/LineColumns.h"
#include "requests/RequestScreen.h"

#include <QScopeGuard>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace requests {

namespace {

double NumberOf(const QVariant& value)
{
    return value.isNull() ? 0.0 : value.toDouble();
}

} // namespace

std::optional<double> QuantityToReachLevels(double onHand, double minimum, double maximum)
{
    if (!(onHand < minimum))
        return std::nullopt;
    // A stock a hair short of a whole unit still asks for that unit.
    return std::ceil(std::max(minimum, maximum) - onHand - 1e-9);
}

QVector<LevelLine> ReadLevelLines(db::Connection& connection, const QString& departmentFrom, const QString& requestTo)
{
    const db::RowSet rows = connection.Execute(
        "Select W.ItemID, W.OnHand, W.MinStockLevel, W.MaxStock From INVENTORY..tbInvent W "
        "Inner Join INVENTORY..tbInvent S On S.ItemID = W.ItemID And S.LocationID = " + db::Quote(requestTo)
        + " Inner Join INVENTORY..tbInvMaster M On M.ItemID = W.ItemID "
          "Left Outer Join INVENTORY..tbInvClassification C On C.ItemClassificationID = M.ItemClassificationID "
          "Where W.LocationID = " + db::Quote(departmentFrom)
        + " And isnull(W.OnHand, 0) < W.MinStockLevel And S.OnHand > 0 And isnull(W.ItemStatus, 0) = 0 "
          "And isnull(S.ItemStatus, 0) = 0 And isnull(M.ItemStatus, 0) = 0 And isnull(C.IsFixedAsset, 0) <> 1 "
          "And not exists (Select K.KitID From INVENTORY..tbInvKit K Where K.KitID = M.KitID And not K.Active = 'I') "
          "Order By M.ItemName, W.ItemID");
    QVector<LevelLine> lines;
    lines.reserve(rows.RecordCount());
    for (const db::RowSet::Row& row : rows.Rows()) {
        const std::optional<double> quantity =
            QuantityToReachLevels(NumberOf(row.value(1)), NumberOf(row.value(2)), NumberOf(row.value(3)));
        if (quantity && *quantity > 0)
            lines.append({row.value(0).toString(), *quantity});
    }
    return lines;
}

LevelFill::LevelFill(RequestScreen& screen, app::SessionContext& session, forms::Prompts& prompts, QObject* parent)
    : QObject(parent), s_(screen), session_(session), prompts_(prompts)
{
    // Offered on a new request only.
    cmdFill.SetVisible(false);
    connect(&cmdFill, &forms::Button::clicked, this, &LevelFill::Fill);
}

void LevelFill::Fill()
{
    const QString from = s_.cboTargetLocation.Tag().trimmed();
    const QString to = s_.cboLocation.Tag().trimmed();
    if (from.isEmpty() || to.isEmpty()) {
        prompts_.Tell(QStringLiteral("Choose the department the request is from and the location it is to first."),
                      forms::Icon::Information);
        s_.focus.Focus(from.isEmpty() ? &s_.cboTargetLocation : &s_.cboLocation);
        return;
    }
    QVector<LevelLine> wanted;
    try {
        forms::BusyCursor busy;
        wanted = ReadLevelLines(session_.currentUser->sqlconnection(), from, to);
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
        return;
    }
    // What the clerk entered already stays as it is.
    QSet<QString> onRequest;
    for (int r = 1; r < s_.grdDetails.Rows(); ++r)
        onRequest.insert(s_.grdDetails.Text(r, kCode).trimmed().toUpper());
    wanted.removeIf([&](const LevelLine& line) { return onRequest.contains(line.itemId.trimmed().toUpper()); });
    if (wanted.isEmpty()) {
        prompts_.Tell(QStringLiteral("No item of %1 is below its minimum level with stock at %2 that is not on the "
                                     "request already.")
                          .arg(s_.cboTargetLocation.Text().trimmed(), s_.cboLocation.Text().trimmed()),
                      forms::Icon::Information);
        return;
    }
    int added = 0;
    {
        forms::BusyCursor busy;
        s_.Lines().HoldGrandTotal(true);
        const auto total = qScopeGuard([this] { s_.Lines().HoldGrandTotal(false); });
        for (const LevelLine& line : std::as_const(wanted))
            if (s_.Lines().EnterItemLine(line.itemId, base::PlainNumber(line.quantity)))
                ++added;
    }
    // Ready for the clerk's own lines.
    s_.Lines().Add();
    s_.lblStatus.SetCaption(QStringLiteral("%1 of %2 line(s) filled from the levels of %3.")
                                .arg(added)
                                .arg(wanted.size())
                                .arg(s_.cboTargetLocation.Text().trimmed()));
}

} // namespace requests
