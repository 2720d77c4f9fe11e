#include "requests/StoreIssuing.h"

#include "app/CurrentUser.h"
#include "app/SessionContext.h"
#include "db/DbError.h"
#include "forms/BusyCursor.h"
#include "forms/Label.h"
#include "forms/Prompts.h"
#include "reports/Printing.h"
#include "reports/ReportError.h"
#include "reports/ViewerOpener.h"
#include "requests/IssueDialog.h"
#include "requests/PrintContext.h"
#include "requests/RequestList.h"
#include "requests/RequestQueries.h"
#include "requests/RequestStore.h"

namespace requests {

StoreIssuing::StoreIssuing(app::SessionContext& session, forms::Prompts& prompts, forms::DialogHost& dialogs,
                           reports::ViewerOpener& viewers, RequestList& list, forms::Label& status, QObject* parent)
    : QObject(parent), session_(session), prompts_(prompts), dialogs_(dialogs), viewers_(viewers), list_(list),
      status_(status)
{
    cmdIssue.SetVisible(false);
    connect(&cmdIssue, &forms::Button::clicked, this, &StoreIssuing::Issue);
    // After the list's own handlers, which set the view.
    connect(&list_.optOptions, &forms::OptionGroup::clicked, this, &StoreIssuing::FollowView);
    connect(&list_.chkverified, &forms::CheckBox::clicked, this, &StoreIssuing::FollowView);
}

db::Connection& StoreIssuing::Connection() const
{
    return session_.currentUser->sqlconnection();
}

QString StoreIssuing::UserId() const
{
    return session_.currentUser->EmployeeCode();
}

void StoreIssuing::SetRight(bool mayIssue)
{
    mayIssue_ = mayIssue;
    FollowView();
}

void StoreIssuing::FollowView()
{
    cmdIssue.SetVisible(mayIssue_ && list_.optOptions.IsSelected(0) && list_.chkverified.IsChecked());
}

void StoreIssuing::Issue()
{
    if (!mayIssue_)
        return;
    const ListedRequest listed = list_.SelectedRequest();
    if (listed.number.trimmed().isEmpty())
        return;
    IssueDialog dialog(Connection(), prompts_, UserId());
    try {
        forms::BusyCursor busy;
        const IssueDraft draft = ReadIssue(Connection(), listed.number);
        // The list may be older than what is stored: an issue starts only
        // from a request still verified and open.
        std::optional<Conflict> conflict = CancelConflict(listed, draft.stored);
        if (!conflict && !draft.stored.IsVerified())
            conflict = Conflict{Conflict::Kind::Changed, draft.stored.number, draft.stored.userId, QDateTime()};
        if (conflict) {
            prompts_.Tell(ConflictText(*conflict, kSinceListed), forms::Icon::Exclamation);
            list_.LoadRequestList();
            return;
        }
        // The store issues: its own clerks, not the departments that ask it.
        if (!IsUserLocation(Connection(), UserId(), draft.stored.locationId)) {
            prompts_.Tell(QStringLiteral("User not Authorized for this Location."), forms::Icon::Information);
            return;
        }
        dialog.Load(draft);
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
        return;
    }
    const forms::DialogResult result = dialogs_.Run(dialog);
    if (result != forms::DialogResult::Accepted) {
        if (dialog.ChangedElsewhere())
            list_.LoadRequestList();
        return;
    }
    const QString number = dialog.Number();
    status_.SetCaption(dialog.RemainderNumber().isEmpty()
                           ? QStringLiteral("Request %1 issued.").arg(number)
                           : QStringLiteral("Request %1 issued; the rest is request %2.")
                                 .arg(number, dialog.RemainderNumber()));
    list_.LoadRequestList();
    PrintSlip(number);
}

void StoreIssuing::PrintSlip(const QString& number)
{
    try {
        forms::BusyCursor busy;
        const std::shared_ptr<reports::Report> report =
            reports::PrintReport(reports::ReportFilePath(kIssueSlipFile),
                                 {session_.HospitalCompany, session_.HospitalAddress, number}, PrintContextOf(session_));
        viewers_.ShowReportViewer(report, false, QStringLiteral("Issue Slip"));
    } catch (const reports::ReportError& e) {
        prompts_.Tell(e.Description());
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
    }
}

} // namespace requests
