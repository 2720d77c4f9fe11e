#include "dialogs/SearchDialog.h"

#include "db/BackgroundReads.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "forms/Prompts.h"

namespace dialogs {

SearchDialog::SearchDialog(db::Connection& connection, forms::Prompts& prompts, QObject* parent)
    : forms::DialogLogic(parent), connection_(connection), prompts_(prompts)
{
    connect(&focus, &forms::FocusChain::currentChanged, this, &SearchDialog::FocusChanged);
    connect(&cmdSearch, &forms::Button::clicked, this, &SearchDialog::SearchClicked);
    connect(&cmdSelect, &forms::Button::clicked, this, &SearchDialog::Select);
    connect(&grdLookup, &forms::ResultGrid::activated, this, &SearchDialog::Select);
    connect(&grdLookup, &forms::ResultGrid::keyDown, this, &SearchDialog::GridKeyDown);
    connect(&grdLookup, &forms::ResultGrid::readFailed, this,
            [this](const QString& description) { prompts_.Tell(description); });
}

void SearchDialog::TypeSearchText(const QString& text)
{
    focus.Focus(&txtSearch);
    txtSearch.SetText(text.toUpper());
}

void SearchDialog::BeginLoad()
{
    blnExactMatch = false;
    picked_.clear();
}

bool SearchDialog::ShowSearch(const std::function<Query()>& query, const QList<int>& columnWidths)
{
    // A search typed before this one must not overwrite its rows.
    if (reads_)
        reads_->DropPending();
    bool found = false;
    try {
        grdLookup.Unbind();
        const Query search = query();
        return ShowRows(connection_.OpenCursorWith(search.text, search.values), columnWidths, found);
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
        if (!grdLookup.IsBound())
            ShowNoRows();
        return found;
    }
}

void SearchDialog::ShowSearchAsTyped(const Query& query, const QList<int>& columnWidths)
{
    if (!reads_) {
        ShowSearch([&] { return query; }, columnWidths);
        return;
    }
    // Two screenfuls: the grid shows its first rows without waiting for the
    // reading thread.
    reads_->Read(query.text, query.values, 2 * forms::ResultGrid::kFirstRows, this,
                 [this, columnWidths](db::BackgroundReads::Result result) {
                     bool found = false;
                     try {
                         if (!result.failure.isEmpty())
                             throw db::DbError(result.failure);
                         ShowRows(std::move(result.rows), columnWidths, found);
                     } catch (const db::DbError& e) {
                         prompts_.Tell(e.Description());
                         if (!grdLookup.IsBound())
                             ShowNoRows();
                     }
                 });
}

bool SearchDialog::ShowRows(std::unique_ptr<db::Cursor> rows, const QList<int>& columnWidths, bool& found)
{
    grdLookup.Unbind();
    if (!rows->Reach(1)) {
        ShowNoRows();
        return false;
    }
    found = true;
    // One row and no second: the caller takes it without showing the
    // dialog.
    if (!rows->Reach(2)) {
        blnExactMatch = true;
        SearchString = rows->Value(0, rows->ColumnIndex(QStringLiteral("Code"))).toString();
    }
    grdLookup.SetEnabled(true);
    cmdSelect.SetEnabled(true);
    grdLookup.Bind(std::move(rows));
    grdLookup.SetColumnWidths(columnWidths);
    return true;
}

void SearchDialog::ShowNoRows()
{
    grdLookup.SetEnabled(false);
    cmdSelect.SetEnabled(false);
    grdLookup.Unbind();
}

void SearchDialog::Pick(int column)
{
    if (grdLookup.Row() < 1)
        return;
    picked_ = grdLookup.Text(grdLookup.Row(), column);
    Close(forms::DialogResult::Accepted);
}

void SearchDialog::GridKeyDown(int keyCode)
{
    if (keyCode == kKeyBackspace) {
        const int length = int(txtSearch.Text().trimmed().size());
        if (length > 0)
            txtSearch.SetText(txtSearch.Text().left(length - 1));
        return;
    }
    const QChar key = QChar(keyCode).toUpper();
    if (key < QLatin1Char('A') || key > QLatin1Char('Z'))
        return;
    focus.Focus(&txtSearch);
    txtSearch.SetText(QString(key));
}

void SearchDialog::SearchClicked()
{
    if (RunSearch(txtSearch.Text()))
        focus.Focus(&grdLookup);
    else
        focus.Focus(&txtSearch);
}

void SearchDialog::FocusChanged(forms::Control*, forms::Control* current)
{
    cmdSearch.SetDefault(current == &txtSearch);
    cmdSelect.SetDefault(current == &grdLookup);
}

QString RunSearchDialog(forms::DialogHost& dialogs, SearchDialog& dialog)
{
    dialog.Load();
    if (dialog.blnExactMatch)
        return dialog.SearchString;
    dialogs.Run(dialog);
    return dialog.PickedCode();
}

} // namespace dialogs
