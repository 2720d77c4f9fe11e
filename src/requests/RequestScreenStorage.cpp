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
#include "requests/RequestQueries.h"
#include "requests/RequestStore.h"

namespace requests {

namespace {

const QString kErrorTitle = QStringLiteral("Error Message");


} // namespace

bool RequestScreen::ReadyToSave()
{
    if (cboTargetLocation.Text().trimmed().isEmpty()) {
        prompts_.Tell(QStringLiteral("Invalid target location..."));
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
    if (!SaveRequest())
        return false;
    list_.LoadRequestList();
    return true;
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
    try {
        forms::BusyCursor busy;
        txtDocNum.SetText(requests::SaveRequest(Connection(), request));
    } catch (const NumberingError& e) {
        prompts_.Tell(e.Description(), forms::Icon::Critical, kErrorTitle);
        return false;
    } catch (const db::DbError& e) {
        // Nothing was stored; the lines stay on the screen for another try.
        prompts_.Tell(e.Description());
        return false;
    }
    if (blnVerifyOnSave)
        AskSupervisorToVerify();
    return true;
}

// Runs after the save has committed, so no write is held open while the
// supervisor types; a refused or cancelled dialog leaves the request saved
// and unverified.
void RequestScreen::AskSupervisorToVerify()
{
    dialogs::SupervisorPassword dialog(Connection(), prompts_);
    dialogs_.Run(dialog);
    if (!dialog.OKCharge())
        return;
    try {
        RecordVerification(Connection(), txtDocNum.Text().trimmed(), dialog.VerifyID());
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
    }
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
    const QString number = list_.SelectedNumber();
    if (SelectedRequestAccess() == Access::Refused)
        return;
    if (!prompts_.AskYesNo(QStringLiteral("Are you sure you want to delete this record?"), QStringLiteral("Message")))
        return;
    try {
        CancelRequest(Connection(), number, EmployeeCode());
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
        return;
    }
    list_.LoadRequestList();
}

void RequestScreen::View()
{
    const QString number =
        SSTab1.Current() == kDetailsTab ? txtDocNum.Text().trimmed() : list_.SelectedNumber().trimmed();
    try {
        forms::BusyCursor busy;
        const reports::PrintContext context = reports::PrintContext::FromSession(session_);
        if (chkPrint.IsChecked())
            reports::PrintReport(reports::ReportFilePath(reports::kShortFormFile), {number}, context);
        else
            reports::PrintReport(reports::ReportFilePath(reports::kLongFormFile),
                                 {session_.HospitalCompany, session_.HospitalAddress, number}, context);
        viewers_.ShowReportViewer(false, QStringLiteral("Inventory Master File"));
    } catch (const reports::ReportError& e) {
        prompts_.Tell(e.Description());
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
    }
}

} // namespace requests
