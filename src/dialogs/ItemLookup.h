#pragma once

#include "dialogs/SearchDialog.h"

#include <QString>

namespace dialogs {

// The product search (frmItemLookup, caption "Product Search"): finds items
// of the master file by code or by the start of their name, over the whole
// file or, when LocationCode is given, among the items stocked at the open
// request's request-to location and stocked and active at its
// department-from location. Every change of the search text searches.
class ItemLookup : public SearchDialog {
    Q_OBJECT
public:
    ItemLookup(app::SessionContext& session, forms::Prompts& prompts, QObject* parent = nullptr);

    // Set by the caller before Load.
    QString LocationName;
    QString LocationCode;

    forms::TextField txtLocation;
    forms::Button cmdClose{QStringLiteral("&Close")};

    // The dialog's load: empties SelectedLookupCode, shows the location,
    // puts SearchString in the search box and searches with it.
    void Load() override;

    void ClickClose() { cmdClose.Click(); }

private:
    bool RunSearch(const QString& text) override;
    void Select() override { Pick(0); }
    QString SearchStatement(const QString& text) const;

    // Set while Load fills the search box, which searches once itself.
    bool loading_ = false;
};

// The calling protocol: loads the dialog unseen with these values, takes a
// single match without showing it, else runs it modally. Afterwards the
// session's SelectedLookupCode holds the picked code, or is empty. Failures
// reach the caller.
void RunItemLookup(app::SessionContext& session, forms::Prompts& prompts, forms::DialogHost& dialogs,
                   const QString& searchString, const QString& locationName, const QString& locationCode);

} // namespace dialogs
