#pragma once

#include "forms/Button.h"
#include "forms/Dialogs.h"
#include "forms/FocusChain.h"
#include "forms/ResultGrid.h"
#include "forms/TextField.h"

#include <QList>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>

namespace db { class BackgroundReads; class Connection; class Cursor; }
namespace forms { class Prompts; }

namespace dialogs {

// What the product search and the reference lookup share: a search box
// with its button, the grid of the rows found, Select, and the rule that a
// search finding exactly one row hands its code to the caller.
class SearchDialog : public forms::DialogLogic {
    Q_OBJECT
public:
    static constexpr int kKeyBackspace = 8;

    // Set by the caller before Load; out: the code of the single row a
    // search found.
    QString SearchString;
    // Set by any search that found exactly one row (never cleared by a
    // later one); read by the caller.
    bool blnExactMatch = false;

    forms::TextField txtSearch;
    forms::Button cmdSearch;
    forms::ResultGrid grdLookup;
    forms::Button cmdSelect{QStringLiteral("&Select")};
    forms::FocusChain focus;

    // The dialog's load, which the caller runs unseen.
    virtual void Load() = 0;

    // The code picked in the grid; empty until a pick, and again at each
    // load.
    const QString& PickedCode() const { return picked_; }

    // Where searches typed into the box run (CurrentUser::SearchReads);
    // without them, on the dialog's connection as they are typed.
    void SetBackgroundReads(db::BackgroundReads* reads) { reads_ = reads; }

    // The user types in the search box (letters arrive upper-cased).
    void TypeSearchText(const QString& text);
    void ClickSearch() { cmdSearch.Click(); }
    void ClickSelect() { cmdSelect.Click(); }

protected:
    SearchDialog(db::Connection& connection, forms::Prompts& prompts, QObject* parent);

    // Searches with the text; true when rows were found.
    virtual bool RunSearch(const QString& text) = 0;
    // Select, or a double click on the grid: picks the current row.
    virtual void Select() = 0;
    // Forgets an earlier pick and exact match: the start of every load.
    void BeginLoad();
    // A search's statement, its values given apart from the text (one for
    // each `?` of it, as db::Connection::ExecuteWith takes them).
    struct Query {
        QString text;
        QVariantList values;
    };
    // Builds the statement, runs it and shows its rows with these column
    // widths; a failure of either is shown. True when rows were found.
    bool ShowSearch(const std::function<Query()>& query, const QList<int>& columnWidths);
    // ShowSearch for a search typed into the box: run by the background
    // reads where there are some, its rows shown when they come, unless
    // a later search came first.
    void ShowSearchAsTyped(const Query& query, const QList<int>& columnWidths);
    // Stores the text of the current row's cell in this column as the pick
    // and closes.
    void Pick(int column);

    db::Connection& connection_;
    forms::Prompts& prompts_;

private:
    // Backspace shortens the search text, a letter starts it afresh.
    void GridKeyDown(int keyCode);
    void ShowNoRows();
    // Shows a search's rows; true when there are some. Throws db::DbError
    // when reading them fails, `found` telling whether a first row came.
    bool ShowRows(std::unique_ptr<db::Cursor> rows, const QList<int>& columnWidths, bool& found);
    void SearchClicked();
    void FocusChanged(forms::Control* previous, forms::Control* current);

    QString picked_;
    db::BackgroundReads* reads_ = nullptr;
};

// The calling protocol of both dialogs, for a dialog the caller has given
// its values: loads it unseen, takes a single match without showing it,
// else runs it modally. Returns the code of the single match or of the
// pick, empty when there was none. Failures reach the caller.
QString RunSearchDialog(forms::DialogHost& dialogs, SearchDialog& dialog);

} // namespace dialogs
