#pragma once

#include "forms/Button.h"

#include <QObject>
#include <QString>

namespace app { struct SessionContext; }
namespace db { class Connection; }
namespace forms { class DialogHost; class Label; class Prompts; }
namespace reports { class ViewerOpener; }

namespace requests {

class RequestList;

// The store's side of a request: a store clerk with the right to issue
// issues a verified request listed in the "Verified" view (the stock moves,
// the request is processed), then the issue slip is shown. The request
// screen composes it; users without the right never see its button.
class StoreIssuing : public QObject {
    Q_OBJECT
public:
    StoreIssuing(app::SessionContext& session, forms::Prompts& prompts, forms::DialogHost& dialogs,
                 reports::ViewerOpener& viewers, RequestList& list, forms::Label& status, QObject* parent = nullptr);

    forms::Button cmdIssue{QStringLiteral("&Issue")};

    // The right to issue, from the user's settings (off when the settings
    // have no such column, as on a site not yet upgraded).
    void SetRight(bool mayIssue);
    bool MayIssue() const { return mayIssue_; }

    // Issue: opens the selected verified request for issuing.
    void Issue();
    // Shows the issue slip of an issued request in the report viewer.
    void PrintSlip(const QString& number);

private:
    db::Connection& Connection() const;
    QString UserId() const;
    // Issuing belongs to the verified requests not yet processed.
    void FollowView();

    app::SessionContext& session_;
    forms::Prompts& prompts_;
    forms::DialogHost& dialogs_;
    reports::ViewerOpener& viewers_;
    RequestList& list_;
    forms::Label& status_;
    bool mayIssue_ = false;
};

// The issue slip's report file, found as the request forms are.
inline const QString kIssueSlipFile = QStringLiteral("IssueSlip.rpt");

} // namespace requests
