// The request screen's storing, verifying, cancelling and printing actions.

#include "requests/LineColumns.h"
#include "requests/RequestScreen.h"

#include "app/CurrentUser.h"
#include "app/SessionContext.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "dialogs/SupervisorPassword.h"
#include "forms/BusyCursor.h"
#include "forms/Dialogs.h"
#include "forms/Prompts.h"
#include "reports/Printing.h"
#include "reports/ReportError.h"
#include "reports/ViewerOpener.h"
#include "requests/PrintContext.h"
#include "requests/RequestQueries.h"
#include "requests/RequestStore.h"

namespace requests {

namespace {

const QString kErrorTitle = QStringLiteral("Error Message");
const QString kReloadOrSaveAsNew = QStringLiteral(
    "Do you want to reload it? Yes shows the request as it is stored now, No saves your lines as a new request, "
    "Cancel keeps your lines on the screen.");
const QString kReload =
    QStringLiteral("Do you want to reload it? Yes shows the request as it is stored now, No keeps your lines on "
                   "the screen.");
const QString kSaveAsNew = QStringLiteral("Do you want to save your lines as a new request?");

} // namespace

bool RequestScreen::ReadyToSave()
{
    if (cboTargetLocation.Text().trimmed().isEmpty()) {
        prompts_.Tell(QStringLiteral("Invalid target location..."));
        focus.Focus(&cboTargetLocation);
        return false;
    }
    if (!IsOwnLocation(cboTargetLocation.Tag())) {
        prompts_.Tell(QStringLiteral("User not Authorized for this Location."), forms::Icon::Information);
        focus.Focus(&cboTargetLocation);
        return false;
    }
    const QString number = txtDocNum.Text().trimmed();
    if (number.isEmpty()) {
        prompts_.Tell(QStringLiteral("Invalid document number..."));
        focus.Focus(&txtDocNum);
        return false;
    }
    if (txtDocNum.IsLocked())
        return true;
    try {
        if (!Verify_DocumentNumber(number))
            return true;
        prompts_.Tell(QStringLiteral("Document Number already exists. Please assign a new number."),
                      forms::Icon::Critical, QStringLiteral("MESSAGE"));
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
    }
    focus.Focus(&txtDocNum);
    return false;
}

void RequestScreen::Save()
{
    if (CheckAndSave(false))
        SSTab1.SetCurrent(kListTab);
}

void RequestScreen::VerifyAndSave()
{
    if (!CheckAndSave(true))
        return;
    // Still on the details tab, so the request printed is the one saved.
    View();
    SSTab1.SetCurrent(kListTab);
}

// Verify/Save makes the checks of Save too: without them a typed number
// that another request has would replace that request.
bool RequestScreen::CheckAndSave(bool verify)
{
    if (!ReadyToSave())
        return false;
    blnVerifyOnSave = verify;
    return SaveRequest();
}

bool RequestScreen::SaveRequest()
{
    RequestToSave request;
    request.documentNumber = txtDocNum.Text();
    request.transDate = txtTransDate.Value();
    request.locationId = cboLocation.Tag();
    request.targetLocationId = cboTargetLocation.Tag();
    request.userId = EmployeeCode();
    request.remarks = txtRemarks.Text();
    for (int r = 1; r < grdDetails.Rows(); ++r)
        request.lines.append({grdDetails.Text(r, kCode), grdDetails.Text(r, kQuantity),
                              grdDetails.Text(r, kUnitCost), grdDetails.Text(r, kRetail), grdDetails.Text(r, kAds)});
    request.opened = opened_;
    StoredRequest saved;
    try {
        forms::BusyCursor busy;
        txtDocNum.SetText(requests::SaveRequest(Connection(), request, blnVerifyOnSave ? &saved : nullptr));
    } catch (const NumberingError& e) {
        prompts_.Tell(e.Description(), forms::Icon::Critical, kErrorTitle);
        return false;
    } catch (const NumberTakenError& e) {
        // Another workstation took the typed number since it was checked.
        prompts_.Tell(e.Description(), forms::Icon::Critical, QStringLiteral("MESSAGE"));
        focus.Focus(&txtDocNum);
        return false;
    } catch (const ConflictError& e) {
        return SettleConflict(e.Details(), e.Description());
    } catch (const db::DbError& e) {
        // Nothing was stored; the lines stay on the screen for another try.
        prompts_.Tell(e.Description());
        return false;
    }
    opened_.reset();
    MarkSaved();
    lblStatus.SetCaption(QStringLiteral("Request %1 saved.").arg(txtDocNum.Text().trimmed()));
    if (blnVerifyOnSave)
        AskSupervisorToVerify(saved);
    return true;
}

// Runs after the save has committed, so no write is held open while the
// supervisor types; a refused or cancelled dialog leaves the request saved
// and unverified. Whoever changed the request meanwhile is not overruled.
void RequestScreen::AskSupervisorToVerify(const StoredRequest& saved)
{
    dialogs::SupervisorPassword dialog(Connection(), prompts_, session_.currentUser->WrongPasswords());
    dialogs_.Run(dialog);
    if (!dialog.OKCharge())
        return;
    try {
        RecordVerification(Connection(), saved, dialog.VerifyID());
        lblStatus.SetCaption(
            QStringLiteral("Request %1 saved and verified by %2.").arg(saved.number, dialog.VerifyID().trimmed()));
    } catch (const ConflictError& e) {
        prompts_.Tell(e.Description() + QStringLiteral(" It was not verified."), forms::Icon::Exclamation);
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
    }
}

bool RequestScreen::SettleConflict(const Conflict& conflict, const QString& text)
{
    list_.LoadRequestList();
    const QString paragraph = text + QStringLiteral("\n\n");
    if (conflict.kind == Conflict::Kind::Removed) {
        if (prompts_.AskYesNo(paragraph + kSaveAsNew, forms::kApplicationTitle, forms::Icon::Exclamation))
            return SaveAsNewRequest();
        return false;
    }
    if (conflict.MaySaveAsNew()) {
        switch (prompts_.Show({paragraph + kReloadOrSaveAsNew, forms::kApplicationTitle, forms::Icon::Exclamation,
                               forms::Buttons::YesNoCancel})) {
        case forms::Answer::Yes: Reopen(conflict.number); return false;
        case forms::Answer::No: return SaveAsNewRequest();
        default: return false;
        }
    }
    if (prompts_.AskYesNo(paragraph + kReload, forms::kApplicationTitle, forms::Icon::Exclamation))
        Reopen(conflict.number);
    return false;
}

// The screen's lines become a request of their own: with a number taken at
// save time, or, where numbers are typed, one the user types now.
bool RequestScreen::SaveAsNewRequest()
{
    opened_.reset();
    if (session_.TypedRequestNumber) {
        txtDocNum.Clear();
        txtDocNum.SetLocked(false);
        focus.Focus(&txtDocNum);
        return false;
    }
    txtDocNum.SetText(kNewNumber);
    txtDocNum.SetLocked(true);
    return SaveRequest();
}

void RequestScreen::Reopen(const QString& number)
{
    try {
        LoadStored(number);
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
        return;
    }
    ShowOpened();
}

QString RequestScreen::GetNewDocNumber()
{
    try {
        return requests::GetNewDocNumber(Connection());
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description(), forms::Icon::Critical, kErrorTitle);
        return QString();
    }
}

bool RequestScreen::Verify_DocumentNumber(const QString& strDocNum)
{
    return DocumentNumberExists(Connection(), strDocNum);
}

void RequestScreen::VerifySaved(const QString& strDocNum, const QString& strVerifiedByID)
{
    try {
        requests::VerifySaved(Connection(), strDocNum, strVerifiedByID);
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description(), forms::Icon::Critical, kErrorTitle);
    }
}

void RequestScreen::DeleteRequest()
{
    const ListedRequest listed = list_.SelectedRequest();
    if (SelectedRequestAccess() == Access::Refused)
        return;
    if (!prompts_.AskYesNo(QStringLiteral("Are you sure you want to delete this record?"), QStringLiteral("Message")))
        return;
    try {
        CancelRequest(Connection(), listed, EmployeeCode());
    } catch (const ConflictError& e) {
        // Cancelled, processed or changed elsewhere: nothing was written.
        prompts_.Tell(e.Description(), forms::Icon::Exclamation);
        list_.LoadRequestList();
        return;
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
        return;
    }
    lblStatus.SetCaption(QStringLiteral("Request %1 cancelled.").arg(listed.number.trimmed()));
    list_.LoadRequestList();
}

void RequestScreen::View()
{
    const QString number =
        SSTab1.Current() == kDetailsTab ? txtDocNum.Text().trimmed() : list_.SelectedNumber().trimmed();
    try {
        forms::BusyCursor busy;
        const reports::PrintContext context = PrintContextOf(session_);
        const std::shared_ptr<reports::Report> report =
            chkPrint.IsChecked()
                ? reports::PrintReport(reports::ReportFilePath(reports::kShortFormFile), {number}, context)
                : reports::PrintReport(reports::ReportFilePath(reports::kLongFormFile),
                                       {session_.HospitalCompany, session_.HospitalAddress, number}, context);
        viewers_.ShowReportViewer(report, false, QStringLiteral("Inventory Master File"));
    } catch (const reports::ReportError& e) {
        prompts_.Tell(e.Description());
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
    }
}

} // namespace requests
