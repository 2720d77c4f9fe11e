#pragma once

#include "forms/Button.h"
#include "forms/CheckBox.h"
#include "forms/DateTimePicker.h"
#include "forms/FocusChain.h"
#include "forms/Grid.h"
#include "forms/KeyPreview.h"
#include "forms/Label.h"
#include "forms/OptionGroup.h"
#include "forms/Picker.h"
#include "forms/Tabs.h"
#include "forms/TextField.h"
#include "app/SessionContext.h"
#include "dialogs/RecordDialogs.h"
#include "requests/KitExpansion.h"
#include "requests/LevelFill.h"
#include "requests/LineEntry.h"
#include "requests/RequestList.h"
#include "requests/RequestState.h"
#include "requests/StoreIssuing.h"

#include <QObject>
#include <QString>

#include <optional>

namespace db { class Connection; }
namespace forms { class DialogHost; class Prompts; }
namespace reports { class ViewerOpener; }

namespace requests {

// The request screen (frmMain), the program's main window, without any
// widget: every control is a model the view binds to, every event an
// action. The header (the two location pickers) and the action row stay
// visible on both tabs; tab 0 is the list of stored requests, tab 1 the
// details of one request with its line entry and lines grid.
class RequestScreen : public QObject {
    Q_OBJECT
public:
    static constexpr int kListTab = 0;
    static constexpr int kDetailsTab = 1;
    static constexpr int kDocumentNumberLength = 10;

    RequestScreen(app::SessionContext& session, forms::Prompts& prompts, forms::DialogHost& dialogs,
                  reports::ViewerOpener& viewers, QObject* parent = nullptr);
    ~RequestScreen() override;

    // --- header, always visible
    forms::Picker cboTargetLocation;  // department from: the user's own locations
    forms::Picker cboLocation;        // request to
    forms::Button cmdDetails{QStringLiteral("DETAILS")};
    forms::Button cmdList{QStringLiteral("LIST")};
    forms::Tabs SSTab1{{QStringLiteral("List"), QStringLiteral("Details")}};

    // --- details tab: the request's header fields
    forms::TextField txtDocNum;
    forms::DateTimePicker txtTransDate;
    forms::TextField txtRemarks;

    // --- details tab: line entry ("Item Entry")
    forms::TextField txtProdCode;
    forms::Button cmdCode{QStringLiteral("...")};
    forms::TextField txtProdName;
    forms::TextField txtWithdraw;
    forms::Label lblForRetail{QStringLiteral("For Retail?")};
    forms::OptionGroup optConsumed{{QStringLiteral("Yes"), QStringLiteral("No")}};
    forms::TextField txtUnitCost;
    forms::TextField txtTotalCost;
    forms::CheckBox chkAdS{QStringLiteral("ADS Stock")};
    forms::Label lblADSStock;
    forms::TextField txtOnhand;
    forms::TextField txtPacking;
    forms::TextField txtAverageCost;
    forms::TextField txtListCost;
    forms::TextField txtUOM;
    forms::Label lblMin{QStringLiteral("Min Stock")};
    forms::TextField txtMin;
    forms::Label lblMax{QStringLiteral("Max Stock")};
    forms::TextField txtMax;
    forms::TextField Text2;  // "On Order": never shown, never filled
    forms::Button cmdOK{QStringLiteral("Add to List")};
    forms::Grid grdDetails;
    forms::Button cmdAdd{QStringLiteral("&Add")};
    forms::Button cmdDelete{QStringLiteral("&Delete")};
    forms::TextField txtLineCounter;
    forms::TextField txtTotalCounter;

    // --- details tab: storing the request
    forms::Button cmdVerify{QStringLiteral("&Verify/Save")};
    forms::Button cmdSave{QStringLiteral("&Save")};
    forms::Button cmdCancel{QStringLiteral("&Cancel")};

    // --- action row, always visible
    forms::CheckBox chkPrint{QStringLiteral("Print Short")};
    forms::Button cmdNew{QStringLiteral("&New")};
    forms::Button cmdEdit{QStringLiteral("&Edit")};
    forms::Button cmdDeleteReq{QStringLiteral("&Delete")};
    forms::Button cmdExit{QStringLiteral("E&xit")};
    forms::Button cmdView{QStringLiteral("&View")};

    // --- the window's status line: what the last save or cancel did
    forms::Label lblStatus;

    // --- keyboard: the tab order, and the preview that sees every key first
    forms::FocusChain focus;
    forms::KeyPreview keys{focus};

private:
    // Declared here so it is built after the buttons it enables.
    RequestList list_;

public:
    // --- list tab (optOptions, chkverified, grdListing)
    RequestList& List() { return list_; }

    // --- screen variables
    bool PubIsVerifyTessary = false;  // the user may verify requests
    bool blnVerifyOnSave = false;
    bool blnNewRequest = false;
    qint16 RecordNumber() const { return recordNumber_; }
    void SetRecordNumber(qint16 number) { recordNumber_ = number; }
    bool ForceProductSearch = false;

    // The window's caption, which differs by site.
    const QString& Caption() const { return caption_; }
    // On the site that renames the retail options they also stand further
    // left; the view places them.
    bool RetailOptionsAtLeft() const { return retailOptionsAtLeft_; }

    // The screen's load: pickers, date, list, rights, site variants.
    void Load();
    void LoadRights();
    void ApplyLineSwitches();
    void ClearAll();

    // --- actions of this screen
    void Edit();
    void New();
    void Details();
    void ShowList();
    void Cancel();
    void Exit();
    // The window is being closed (its close box, the desktop's log-out):
    // true when it may close. A request with unsaved lines on the details
    // tab asks first, as Exit does.
    bool MayClose();
    // Reads the list again (F5), so requests made elsewhere appear.
    void RefreshList();
    void ListDoubleClicked();
    // Leave checks of the two pickers; false keeps the focus in the picker.
    bool RequestToLeft();
    bool DepartmentFromLeft();

    // --- storage
    // Fills the header fields and the lines grid from the stored request
    // selected in the list (fromList) or the empty 'NEW' placeholder.
    // Database failures reach the caller.
    void LoadRequest(bool fromList);
    void Save();
    void VerifyAndSave();
    void DeleteRequest();
    bool SaveRequest();
    QString GetNewDocNumber();
    bool Verify_DocumentNumber(const QString& strDocNum);
    void VerifySaved(const QString& strDocNum, const QString& strVerifiedByID);

    // --- printing
    void View();

    // The chosen locations (the pickers' tags), for the product search
    // limited to the request's locations.
    dialogs::RequestLocations ChosenLocations() const { return {cboLocation.Tag(), cboTargetLocation.Tag()}; }

    // --- lines (the line entry's own actions bind to the controls)
    LineEntry& Lines() { return lines_; }
    KitExpansion& Kits() { return kits_; }
    void LoadCurrentLine();
    // Removes the current line, without asking.
    void DeleteLine();
    void ShowGrandTotal();
    void ShowLineCounter();

    // --- beyond the request itself: the store issuing a verified request,
    // and a new request filled from the department's levels
    StoreIssuing& Issuing() { return issuing_; }
    LevelFill& Filling() { return fill_; }

signals:
    void captionChanged(const QString& caption);
    // Exit was confirmed: the view closes the window.
    void closeRequested();

private:
    db::Connection& Connection() const;
    QString EmployeeCode() const;
    void BuildFocusOrder();
    bool LeavingTheRequest() const;
    void ConnectActions();
    void ApplySiteVariants();
    void SetCaption(const QString& caption);
    bool OnPage(const forms::Control* control) const;
    enum class Access { Granted, Refused };
    // The user-location check of the selected list row; a refusal or a
    // failure has been shown.
    Access SelectedRequestAccess();
    // Edit's work; false when the request was not opened.
    bool OpenSelected();
    void EditFromTabSwitch();
    void TabChanged(int previous, int current);
    // The checks Save and Verify/Save make before saving.
    bool ReadyToSave();
    // The checks, the save and the list refresh; false when nothing was saved.
    bool CheckAndSave(bool verify);
    void AskSupervisorToVerify(const StoredRequest& saved);
    // A save refused because another workstation changed the request: the
    // user is told who did what and may reload it or save the lines as a
    // new request. True when the lines were saved after all.
    bool SettleConflict(const Conflict& conflict, const QString& text);
    bool SaveAsNewRequest();
    // Opens the stored request of this number on the details tab.
    void Reopen(const QString& number);
    // The details-tab state of an opened request.
    void ShowOpened();
    // Whether the location is one of the user's own; a failed check is shown.
    bool IsOwnLocation(const QString& locationId);
    // At New: a department-from that is not the user's is not carried over.
    void KeepOwnDepartmentFrom();
    void DateNewRequest();
    void LoadStored(const QString& number);
    // What a save would store, to tell whether anything is unsaved.
    QStringList FormState() const;
    bool HasUnsavedLines() const;
    void MarkSaved() { savedForm_ = FormState(); }
    void ShowDetailsTab();
    // The list grid, or New when the list is empty.
    void ShowListFocus();
    void FillHeader(const db::RowSet& rows, const std::optional<StoredRequest>& stored);
    void FillLines(db::RowSet rows);
    void SetLinesFormat(const QString& format);

    app::SessionContext& session_;
    forms::Prompts& prompts_;
    forms::DialogHost& dialogs_;
    reports::ViewerOpener& viewers_;
    QString caption_;
    bool retailOptionsAtLeft_ = false;
    bool departmentFromIsStore_ = false;
    qint16 recordNumber_ = 0;
    // Set while an action itself shows the details tab, so the tab switch
    // does not run Edit a second time.
    bool showingDetails_ = false;
    // Set only for the load that New causes: that one Edit opens the
    // selected request without the user-location check.
    bool skipUserCheckOnce_ = false;
    // What was stored when the open request was read; none for a new one.
    std::optional<StoredRequest> opened_;
    QStringList savedForm_;
    dialogs::RecordDialogs recordDialogs_;
    KitExpansion kits_;
    LineEntry lines_{*this, session_, prompts_, recordDialogs_.Services()};
    StoreIssuing issuing_{session_, prompts_, dialogs_, viewers_, list_, lblStatus};
    LevelFill fill_{*this, session_, prompts_};
    // The controls of each tab page, for the focus order.
    QList<const forms::Control*> listPage_;
    QList<const forms::Control*> detailsPage_;
};

} // namespace requests
