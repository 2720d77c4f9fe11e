#pragma once

#include "forms/Button.h"
#include "forms/CheckBox.h"
#include "forms/Grid.h"
#include "forms/OptionGroup.h"
#include "db/RowSet.h"
#include "requests/RequestState.h"

#include <QVector>

#include <QObject>

namespace db { class Connection; }
namespace forms { class Prompts; }

namespace requests {

// The list tab of the request screen: the stored requests addressed to the
// user's locations in one of three views (pending, pending and verified,
// processed), one row per request.
class RequestList : public QObject {
    Q_OBJECT
public:
    static constexpr int kNumberColumn = 0;
    static constexpr int kFromLocationColumn = 5;

    RequestList(db::Connection& connection, forms::Prompts& prompts, QString employeeId,
                forms::Button& cmdEdit, forms::Button& cmdDetails, QObject* parent = nullptr);

    forms::OptionGroup optOptions{{QStringLiteral("Pendings"), QStringLiteral("Processed")}};
    forms::CheckBox chkverified{QStringLiteral("Verified")};
    forms::Grid grdListing;

    // Runs the list query for the current view and shows its rows; a failure
    // is shown and the grid keeps what it showed. The request that was
    // selected stays selected while it is listed.
    void LoadRequestList();
    // A click on either option: "Processed" ticks and disables "Verified",
    // "Pendings" clears and enables it. A changed tick runs its own click
    // action first, so the list loads twice.
    void OptionClicked();
    // A click on "Verified": reload; a ticked box keeps verified requests
    // from being opened.
    void VerifiedClicked();

    // The selected row's document number and department-from ID.
    QString SelectedNumber() const;
    QString SelectedFromLocation() const;
    // What the list showed of the selected request, as it was read.
    ListedRequest SelectedRequest() const;

private:
    void ShowRows(const db::RowSet& rows);
    void Select(const QString& number);

    db::Connection& connection_;
    forms::Prompts& prompts_;
    QString employeeId_;
    forms::Button& cmdEdit_;
    forms::Button& cmdDetails_;
    // The listed requests as read, row by row (grid row r is listed_[r - 1]).
    QVector<ListedRequest> listed_;
};

} // namespace requests
