#include "requests/RequestScreen.h"

#include "app/CurrentUser.h"
#include "base/Errors.h"
#include "app/HospitalInfo.h"
#include "app/SessionContext.h"
#include "base/Texts.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Quote.h"
#include "forms/BusyCursor.h"
#include "forms/Prompts.h"
#include "locations/LocationServices.h"
#include "requests/LineColumns.h"
#include "requests/RequestQueries.h"
#include "requests/RequestStore.h"

#include <algorithm>

namespace requests {

namespace {

const QString kStandardCaption = QStringLiteral("Visual Orvalis - Tessary");
const QString kNotAuthorized = QStringLiteral("User not Authorized for this Location.");
const QString kExitQuestion = QStringLiteral("Are you sure you want to exit without saving?");

// The lines grid's header on a cleared screen and after a load.
const QString kClearedLinesFormat = QStringLiteral(
    "Code |< Product Name & Description | Quantity | Unit Cost| Total Cost| Retail?| Remarks|");
const QString kLoadedLinesFormat =
    QStringLiteral("Code |< Product Name & Description | Quantity | Unit Cost| Total Cost| Retail?|");
const QList<int> kLinesWidths = {800, 5000, 1000, 1000, 1000, 700, 0};
constexpr int kLinesColumns = 7;

QString TextOf(const db::RowSet& rows, const char* column)
{
    return base::NullToDefault(rows.Field(QLatin1String(column)), QString()).toString();
}

} // namespace

RequestScreen::RequestScreen(app::SessionContext& session, forms::Prompts& prompts, forms::DialogHost& dialogs,
                             reports::ViewerOpener& viewers, QObject* parent)
    : QObject(parent),
      list_(session.currentUser->sqlconnection(), prompts, session.currentUser->EmployeeCode(), cmdEdit, cmdDetails),
      session_(session), prompts_(prompts), dialogs_(dialogs), viewers_(viewers), caption_(kStandardCaption),
      recordDialogs_([this]() -> db::Connection& { return Connection(); }, prompts, dialogs,
                     [this] { return ChosenLocations(); }, [this] { return session_.currentUser->SearchReads(); }),
      kits_(session.currentUser->sqlconnection(), prompts, dialogs)
{
    txtDocNum.SetMaxLength(kDocumentNumberLength);
    txtDocNum.SetSelectAllOnFocus(true);
    txtTransDate.SetDisplayFormat(QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    for (forms::TextField* display : {&txtProdName, &txtTotalCost, &txtOnhand, &txtPacking, &txtAverageCost,
                                      &txtListCost, &txtUOM, &txtMin, &txtMax, &Text2, &txtLineCounter,
                                      &txtTotalCounter})
        display->SetLocked(true);
    // Shown only where a site or a loaded item asks for them.
    for (forms::Control* hidden : std::initializer_list<forms::Control*>{
             &chkPrint, &lblMin, &txtMin, &lblMax, &txtMax, &Text2, &chkAdS, &lblADSStock})
        hidden->SetVisible(false);
    grdDetails.SetCols(kLinesColumns);
    BuildFocusOrder();
    ConnectActions();
}

RequestScreen::~RequestScreen() = default;

db::Connection& RequestScreen::Connection() const
{
    return session_.currentUser->sqlconnection();
}

QString RequestScreen::EmployeeCode() const
{
    return session_.currentUser->EmployeeCode();
}

void RequestScreen::BuildFocusOrder()
{
    listPage_ = {&list_.optOptions, &list_.chkverified, &list_.grdListing};
    detailsPage_ = {&txtDocNum, &txtTransDate, &txtRemarks, &txtProdCode, &cmdCode, &txtWithdraw,
                    &optConsumed, &txtUnitCost, &chkAdS, &cmdOK, &grdDetails, &cmdAdd, &cmdDelete,
                    &cmdVerify, &cmdSave, &cmdCancel};
    focus.Add({&cboTargetLocation, &cboLocation});
    for (const forms::Control* control : listPage_)
        focus.Add(const_cast<forms::Control*>(control));
    for (const forms::Control* control : detailsPage_)
        focus.Add(const_cast<forms::Control*>(control));
    focus.Add({&chkPrint, &cmdNew, &cmdEdit, &cmdDeleteReq, &cmdExit, &cmdView, &cmdDetails, &cmdList});
    // Last in the order, so that the tab order of everything before stays
    // as it was; each is reached by its own key too.
    focus.Add({&issuing_.cmdIssue, &fill_.cmdFill});
    listPage_ << &issuing_.cmdIssue;
    detailsPage_ << &fill_.cmdFill;
    focus.SetAvailability([this](const forms::Control* control) { return OnPage(control); });
    focus.SetLeaveCheck(&cboLocation, [this] { return LeavingTheRequest() || RequestToLeft(); });
    focus.SetLeaveCheck(&cboTargetLocation, [this] { return LeavingTheRequest() || DepartmentFromLeft(); });
}

// A picker still being chosen does not keep the user from leaving the
// request (nothing is stored that way; Save checks the pickers again).
bool RequestScreen::LeavingTheRequest() const
{
    const forms::Control* target = focus.Target();
    return target == &cmdCancel || target == &cmdList || target == &cmdExit || target == &cmdNew;
}

// Controls of a tab page take the focus only while their page shows.
bool RequestScreen::OnPage(const forms::Control* control) const
{
    if (listPage_.contains(control))
        return SSTab1.Current() == kListTab;
    if (detailsPage_.contains(control))
        return SSTab1.Current() == kDetailsTab;
    return true;
}

void RequestScreen::ConnectActions()
{
    connect(&cmdEdit, &forms::Button::clicked, this, &RequestScreen::Edit);
    connect(&cmdNew, &forms::Button::clicked, this, &RequestScreen::New);
    connect(&cmdDetails, &forms::Button::clicked, this, &RequestScreen::Details);
    connect(&cmdList, &forms::Button::clicked, this, &RequestScreen::ShowList);
    connect(&cmdCancel, &forms::Button::clicked, this, &RequestScreen::Cancel);
    connect(&cmdExit, &forms::Button::clicked, this, &RequestScreen::Exit);
    connect(&cmdSave, &forms::Button::clicked, this, &RequestScreen::Save);
    connect(&cmdVerify, &forms::Button::clicked, this, &RequestScreen::VerifyAndSave);
    connect(&cmdDeleteReq, &forms::Button::clicked, this, &RequestScreen::DeleteRequest);
    connect(&cmdView, &forms::Button::clicked, this, &RequestScreen::View);
    connect(&SSTab1, &forms::Tabs::currentChanged, this, &RequestScreen::TabChanged);
    connect(&list_.grdListing, &forms::Grid::activated, this, &RequestScreen::ListDoubleClicked);
    // The lines grid takes its own keys ("." deletes a line, Enter opens
    // one), so the screen's key handling stands aside while it has the focus.
    connect(&focus, &forms::FocusChain::currentChanged, this,
            [this](forms::Control*, forms::Control* current) { keys.SetEnabled(current != &grdDetails); });
}

void RequestScreen::Load()
{
    locations::LocationListFlags requestTo;
    requestTo.nonDispensing = true;
    requestTo.selectDefault = true;
    requestTo.nonWarehouse = true;
    locations::LoadLocation(cboLocation, requestTo, Connection(), prompts_, EmployeeCode(),
                            session_.DefaultLocationID);
    locations::LocationListFlags ownLocations;
    ownLocations.userLocations = true;
    locations::LoadLocation(cboTargetLocation, ownLocations, Connection(), prompts_, EmployeeCode(),
                            session_.DefaultLocationID);

    // Requests are dated at the latest at the moment the program started.
    const QDateTime started = base::ParseDateTime(session_.ServerDate).value_or(QDateTime::currentDateTime());
    txtTransDate.SetValue(started);
    txtTransDate.SetMaxDate(started);

    ForceProductSearch = false;
    list_.LoadRequestList();
    SSTab1.SetCurrent(kListTab);
    cboLocation.SetEnabled(false);
    cboTargetLocation.SetEnabled(false);
    LoadRights();
    ApplySiteVariants();
    ApplyLineSwitches();
    ShowListFocus();
}

void RequestScreen::LoadRights()
{
    try {
        const db::RowSet rows = Connection().Execute(
            "Select * from Inventory..tbInvUserSettings Where UserID = " + db::Quote(EmployeeCode()));
        if (rows.IsEmpty())
            return;
        PubIsVerifyTessary = base::NullToDefault(rows.Field(QStringLiteral("isVerifyTessary")), false).toBool();
        cmdVerify.SetVisible(PubIsVerifyTessary);
        const QString issueRight = QStringLiteral("isIssueTessary");
        issuing_.SetRight(rows.HasColumn(issueRight) && base::NullToDefault(rows.Field(issueRight), false).toBool());
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
    }
}

void RequestScreen::ApplySiteVariants()
{
    const QString& site = session_.ClientCode;
    if (site == QLatin1String("QORVIN"))
        SetCaption(QStringLiteral("Visual Orvalis - Stock Request"));
    if (site == QLatin1String("KRV")) {
        retailOptionsAtLeft_ = true;
        chkPrint.SetVisible(true);
        cmdView.SetCaption(QStringLiteral("Print"));
        lblForRetail.SetCaption(QStringLiteral("For :"));
        optConsumed.SetCaption(0, QStringLiteral("Retail"));
        optConsumed.SetCaption(1, QStringLiteral("Consumption"));
    }
    if (site == QLatin1String("QX")) {
        for (forms::Control* control : std::initializer_list<forms::Control*>{&lblMin, &txtMin, &lblMax, &txtMax})
            control->SetVisible(true);
    }
}

void RequestScreen::SetCaption(const QString& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    emit captionChanged(caption_);
}

void RequestScreen::ApplyLineSwitches()
{
    try {
        if (app::IsSwitchOn(Connection(), QStringLiteral("3"))) {
            optConsumed.Select(1);
            optConsumed.SetOptionEnabled(0, false);
        }
        if (app::IsSwitchOn(Connection(), QStringLiteral("4")))
            cboLocation.SetEnabled(false);
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
    }
}

void RequestScreen::ClearAll()
{
    for (forms::TextField* field : {&txtProdCode, &txtProdName, &txtUnitCost, &txtWithdraw, &txtAverageCost,
                                    &txtTotalCost, &txtOnhand, &txtPacking, &Text2, &txtListCost, &txtRemarks,
                                    &txtUOM})
        field->Clear();
    lines_.ForgetShownItem();
    cboLocation.SetEnabled(true);
    cboTargetLocation.SetEnabled(true);
    grdDetails.Clear();
    grdDetails.SetRows(2);
    SetLinesFormat(kClearedLinesFormat);
}

void RequestScreen::SetLinesFormat(const QString& format)
{
    grdDetails.SetCols(kLinesColumns);
    grdDetails.SetFormat(format);
    grdDetails.SetColumnWidths(kLinesWidths);
}

// --- moving between the tabs

void RequestScreen::TabChanged(int previous, int current)
{
    if (previous == kListTab && current == kDetailsTab && !showingDetails_) {
        EditFromTabSwitch();
        return;
    }
    if (current == kListTab) {
        // Other workstations save and cancel too: the list is read afresh
        // whenever it is shown.
        list_.LoadRequestList();
        ShowListFocus();  // the focus was on the page that just went away
    }
}

void RequestScreen::RefreshList()
{
    list_.LoadRequestList();
}

void RequestScreen::ShowListFocus()
{
    if (!focus.Focus(&list_.grdListing))
        focus.Focus(&cmdNew);
}

void RequestScreen::ShowDetailsTab()
{
    showingDetails_ = true;
    SSTab1.SetCurrent(kDetailsTab);
    showingDetails_ = false;
}

RequestScreen::Access RequestScreen::SelectedRequestAccess()
{
    try {
        if (IsUserLocation(Connection(), EmployeeCode(), list_.SelectedFromLocation()))
            return Access::Granted;
        prompts_.Tell(kNotAuthorized, forms::Icon::Information);
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
    }
    return Access::Refused;
}

void RequestScreen::Edit()
{
    OpenSelected();
}

void RequestScreen::EditFromTabSwitch()
{
    // A request that cannot be opened leaves the user on the list.
    if (!OpenSelected())
        SSTab1.SetCurrent(kListTab);
}

bool RequestScreen::OpenSelected()
{
    const bool skipCheck = skipUserCheckOnce_;
    skipUserCheckOnce_ = false;
    if (!skipCheck && SelectedRequestAccess() == Access::Refused)
        return false;
    try {
        LoadRequest(true);
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
        return false;
    }
    ShowOpened();
    return true;
}

void RequestScreen::ShowOpened()
{
    ShowGrandTotal();
    ShowDetailsTab();
    cboLocation.SetEnabled(false);
    cboTargetLocation.SetEnabled(false);
    txtDocNum.SetLocked(true);
    focus.Focus(&txtProdCode);
    cmdOK.SetCaption(QStringLiteral("Update"));
    fill_.cmdFill.SetVisible(false);
    lblStatus.SetCaption(QString());
    MarkSaved();
}

void RequestScreen::New()
{
    blnNewRequest = true;
    try {
        LoadRequest(false);
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
    }
    // From the list this opens the selected request without the user check;
    // its two locations stay, the rest is cleared below.
    skipUserCheckOnce_ = true;
    SSTab1.SetCurrent(kDetailsTab);
    skipUserCheckOnce_ = false;
    if (SSTab1.Current() != kDetailsTab)
        return;  // the selected request could not be read: shown, back on the list
    opened_.reset();
    ClearAll();
    ShowLineCounter();
    ShowGrandTotal();
    DateNewRequest();
    KeepOwnDepartmentFrom();
    if (session_.TypedRequestNumber) {
        txtDocNum.Clear();
        txtDocNum.SetLocked(false);
        focus.Focus(&txtDocNum);
    } else {
        txtDocNum.SetText(kNewNumber);
        txtDocNum.SetLocked(true);
        focus.Focus(&txtProdCode);
    }
    cmdOK.SetCaption(QStringLiteral("Add to List"));
    if (!DepartmentFromLeft())
        focus.Focus(&cboTargetLocation);
    txtTotalCounter.SetVisible(false);
    fill_.cmdFill.SetVisible(true);
    ApplyLineSwitches();
    lblStatus.SetCaption(QString());
    MarkSaved();
}

// A new request is dated when it is begun, not when the program started.
void RequestScreen::DateNewRequest()
{
    QDateTime now = QDateTime::currentDateTime();
    try {
        now = app::ServerTime(Connection());
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
    }
    txtTransDate.SetMaxDate(now);
    txtTransDate.SetValue(now);
}

// New keeps the selected request's department-from only when it is one of
// the user's own; otherwise it starts on the user's only location, or empty.
void RequestScreen::KeepOwnDepartmentFrom()
{
    const QList<forms::PickerRow>& own = cboTargetLocation.Rows();
    const QString tag = cboTargetLocation.Tag();
    if (std::any_of(own.begin(), own.end(), [&](const forms::PickerRow& row) { return row.value == tag; })
        && !tag.isEmpty())
        return;
    cboTargetLocation.SetText(own.size() == 1 ? own.front().text : QString());
    cboTargetLocation.SetTag(own.size() == 1 ? own.front().value : QString());
}

bool RequestScreen::IsOwnLocation(const QString& locationId)
{
    try {
        return IsUserLocation(Connection(), EmployeeCode(), locationId);
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
        return false;
    }
}

void RequestScreen::Details()
{
    blnNewRequest = false;
    if (SelectedRequestAccess() == Access::Refused)
        return;
    SSTab1.SetCurrent(kDetailsTab);
}

void RequestScreen::ShowList()
{
    SSTab1.SetCurrent(kListTab);
}

void RequestScreen::Cancel()
{
    if (prompts_.AskYesNo(QStringLiteral("Do you want to leave without saving?"), QStringLiteral("Message")))
        SSTab1.SetCurrent(kListTab);
    else
        focus.Focus(&txtProdCode);
}

void RequestScreen::Exit()
{
    if (prompts_.AskYesNo(kExitQuestion))
        emit closeRequested();
}

bool RequestScreen::MayClose()
{
    if (SSTab1.Current() != kDetailsTab || !HasUnsavedLines())
        return true;
    return prompts_.AskYesNo(kExitQuestion);
}

QStringList RequestScreen::FormState() const
{
    QStringList state{txtDocNum.Text(), cboLocation.Tag(), cboTargetLocation.Tag(), txtRemarks.Text(),
                      base::FormatDateTime(txtTransDate.Value())};
    for (int r = 1; r < grdDetails.Rows(); ++r)
        if (!grdDetails.Text(r, kCode).trimmed().isEmpty())
            state << grdDetails.RowTexts(r);
    return state;
}

// Lines changed since the request was opened or saved, or an entry typed
// into the item fields and not yet put into the grid.
bool RequestScreen::HasUnsavedLines() const
{
    if (FormState() != savedForm_)
        return true;
    const int r = grdDetails.Row();
    const auto differs = [&](const forms::TextField& box, int column) {
        return box.Text().trimmed().compare(grdDetails.Text(r, column).trimmed(), Qt::CaseInsensitive) != 0;
    };
    return r >= 1 && (differs(txtProdCode, kCode) || differs(txtWithdraw, kQuantity));
}

void RequestScreen::ListDoubleClicked()
{
    // Verified and processed requests are only listed, never opened.
    if (list_.chkverified.IsChecked() || !list_.grdListing.IsEnabled())
        return;
    Edit();
}

// --- the two location pickers

bool RequestScreen::RequestToLeft()
{
    const locations::ValidatedLocation location =
        locations::ValidateLocation(Connection(), prompts_, session_.RightCode, cboLocation.Text(), true);
    cboLocation.SetTag(location.locationId);
    return location.valid;
}

bool RequestScreen::DepartmentFromLeft()
{
    const locations::ValidatedLocation location =
        locations::ValidateLocation(Connection(), prompts_, session_.RightCode, cboTargetLocation.Text(), false);
    if (!location.valid)
        return false;
    // A request is filed only from a department the user works in.
    if (!IsOwnLocation(location.locationId)) {
        cboTargetLocation.SetTag(QString());
        prompts_.Tell(kNotAuthorized, forms::Icon::Information);
        return false;
    }
    cboTargetLocation.SetTag(location.locationId);
    departmentFromIsStore_ = location.notStoreAndDispensing;
    if (cboTargetLocation.Tag() == cboLocation.Tag()) {
        prompts_.Tell(QStringLiteral("Invalid Target Location..."), forms::Icon::Critical);
        return false;
    }
    // Only a store may request stock for retail.
    optConsumed.SetOptionEnabled(0, departmentFromIsStore_);
    optConsumed.SetOptionEnabled(1, true);
    optConsumed.Select(departmentFromIsStore_ ? 0 : 1);
    ApplyLineSwitches();
    return true;
}

// --- loading a stored request

void RequestScreen::LoadRequest(bool fromList)
{
    LoadStored(fromList ? list_.SelectedNumber() : kNewNumber);
}

void RequestScreen::LoadStored(const QString& number)
{
    // What is stored is remembered before the lines are read: a change
    // between the two reads then refuses the save, instead of being undone.
    std::optional<StoredRequest> stored;
    if (number != kNewNumber)
        stored = StoredRequest::Read(Connection(), number);
    const db::RowSet rows =
        Connection().Execute("Inventory..sp_Inv_LoadWithdrawalRequest " + db::Quote(number));
    opened_ = stored;
    if (!rows.IsEmpty()) {
        FillHeader(rows, stored);
        FillLines(rows);
    } else {
        grdDetails.SetRows(1);
        grdDetails.SetCols(kLinesColumns);
        grdDetails.SetRows(2);
        grdDetails.SetRow(1);
    }
    SetLinesFormat(kLoadedLinesFormat);
    ShowLineCounter();
}

void RequestScreen::FillHeader(const db::RowSet& rows, const std::optional<StoredRequest>& stored)
{
    cboLocation.SetTag(TextOf(rows, "LocationID"));
    cboLocation.SetText(rows.Field(QStringLiteral("Location")).toString());
    cboTargetLocation.SetTag(TextOf(rows, "TargetLocationID"));
    cboTargetLocation.SetText(TextOf(rows, "TLocation"));
    txtDocNum.SetText(TextOf(rows, "DocumentNumber"));
    // A save rewrites every row with the justification on the screen, so
    // the stored one must be on the screen, or saving would erase it.
    if (rows.ColumnIndex(QStringLiteral("Remarks")) >= 0)
        txtRemarks.SetText(TextOf(rows, "Remarks"));
    // Likewise its date: a save stores the picker's.
    if (stored && stored->transDate.isValid()) {
        if (stored->transDate > txtTransDate.MaxDate())
            txtTransDate.SetMaxDate(stored->transDate);
        txtTransDate.SetValue(stored->transDate);
    }
}

void RequestScreen::FillLines(db::RowSet rows)
{
    // A fresh grid: the request's lines and one empty row for a new line.
    grdDetails.SetRows(1);
    grdDetails.SetCols(kLinesColumns);
    grdDetails.SetRows(rows.RecordCount() + 2);
    int line = 1;
    for (rows.MoveFirst(); !rows.Eof(); rows.MoveNext(), ++line) {
        const double quantity = base::NullToDefault(rows.Field(QStringLiteral("Quantity")), 0).toDouble();
        const double unitCost = base::NullToDefault(rows.Field(QStringLiteral("UnitCost")), 0).toDouble();
        const bool ads = base::NullToDefault(rows.Field(QStringLiteral("isADS")), false).toBool();
        grdDetails.SetRowTexts(line, QStringList{
            TextOf(rows, "ItemID"),
            TextOf(rows, "Description"),
            base::PlainNumber(quantity),
            base::PlainNumber(unitCost),
            base::PlainNumber(quantity * unitCost),
            TextOf(rows, "ForRetail"),
            ads ? QStringLiteral("Y") : QStringLiteral("N"),
        });
    }
    grdDetails.SetTopRow(1);
    grdDetails.SetRow(1);
    LoadCurrentLine();
}

// --- lines

void RequestScreen::LoadCurrentLine()
{
    lines_.LoadCurrentLine();
}

void RequestScreen::DeleteLine()
{
    lines_.Delete();
}

void RequestScreen::ShowGrandTotal()
{
    lines_.ShowGrandTotal();
}

void RequestScreen::ShowLineCounter()
{
    lines_.ShowLineCounter();
}

} // namespace requests
