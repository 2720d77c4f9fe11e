#pragma once

#include "forms/Button.h"
#include "forms/Dialogs.h"
#include "forms/FocusChain.h"
#include "forms/ResultGrid.h"
#include "forms/TextField.h"

#include <QString>

namespace app { struct SessionContext; }
namespace forms { class Prompts; }

namespace dialogs {

// The product search (frmItemLookup, caption "Product Search"): finds items
// of the master file by code or by the start of their name, over the whole
// file or, when LocationCode is given, among the items stocked at the open
// request's request-to location and stocked and active at its
// department-from location. The pick goes to the session's
// SelectedLookupCode.
class ItemLookup : public forms::DialogLogic {
    Q_OBJECT
public:
    static constexpr int kKeyBackspace = 8;

    ItemLookup(app::SessionContext& session, forms::Prompts& prompts, QObject* parent = nullptr);

    // Set by the caller before Load.
    QString SearchString;  // out: the code of the single row a search found
    QString LocationName;
    QString LocationCode;
    // Set by any search that found exactly one row; read by the caller.
    bool blnExactMatch = false;

    forms::TextField txtLocation;
    forms::TextField txtSearch;
    forms::Button cmdSearch;
    forms::ResultGrid grdLookup;
    forms::Button cmdClose{QStringLiteral("&Close")};
    forms::Button cmdSelect{QStringLiteral("&Select")};
    forms::FocusChain focus;

    // The dialog's load: empties SelectedLookupCode, shows the location,
    // puts SearchString in the search box and searches with it.
    void Load();

    // The user's actions.
    void TypeSearchText(const QString& text);  // every change of the box
    void ClickSearch() { cmdSearch.Click(); }
    void ClickClose() { cmdClose.Click(); }
    void ClickSelect() { cmdSelect.Click(); }

private:
    // Backspace shortens the search text, a letter starts it afresh.
    void GridKeyDown(int keyCode);
    bool RunSearch(const QString& text);
    QString SearchStatement(const QString& text) const;
    void ShowNoRows();
    void SearchClicked();
    void Select();
    void FocusChanged(forms::Control* previous, forms::Control* current);

    app::SessionContext& session_;
    forms::Prompts& prompts_;
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
