#pragma once

#include "dialogs/SearchDialog.h"

#include <QString>

namespace dialogs {

// The two locations of a request: the store or department it asks
// ("request to", the screen's cboLocation) and the department that asks
// ("department from", cboTargetLocation).
struct RequestLocations {
    QString requestToID;
    QString departmentFromID;
};

// The product search (frmItemLookup, caption "Product Search"): finds items
// of the master file by code or by the start of their name, over the whole
// file or, when LocationCode is given, among the items stocked at the
// request's request-to location and stocked and active at its
// department-from location. Every change of the search text searches.
class ItemLookup : public SearchDialog {
    Q_OBJECT
public:
    ItemLookup(db::Connection& connection, forms::Prompts& prompts, QObject* parent = nullptr);

    // Set by the caller before Load: the location shown, and whether the
    // search is limited to the request's two locations (a LocationCode that
    // is not blank), which are then searched.
    QString LocationName;
    QString LocationCode;
    RequestLocations Request;

    forms::TextField txtLocation;
    forms::Button cmdClose{QStringLiteral("&Close")};

    // The dialog's load: forgets an earlier pick, shows the location, puts
    // SearchString in the search box and searches with it.
    void Load() override;

    void ClickClose() { cmdClose.Click(); }

private:
    bool RunSearch(const QString& text) override;
    void Select() override { Pick(0); }
    Query SearchStatement(const QString& text) const;

    // Set while Load fills the search box, which searches once itself.
    bool loading_ = false;
};

// The calling protocol: loads the dialog unseen with these values, takes a
// single match without showing it, else runs it modally. Returns the picked
// code, empty when none. Failures reach the caller. What the user types
// into the box is searched by `searchReads` where given.
QString RunItemLookup(db::Connection& connection, forms::Prompts& prompts, forms::DialogHost& dialogs,
                      const QString& searchString, const QString& locationName, const QString& locationCode,
                      const RequestLocations& request, db::BackgroundReads* searchReads = nullptr);

} // namespace dialogs
