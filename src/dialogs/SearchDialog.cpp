#include "dialogs/SearchDialog.h"

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
    bool found = false;
    try {
        grdLookup.Unbind();
        const Query search = query();
        std::unique_ptr<db::Cursor> rows = connection_.OpenCursorWith(search.text, search.values);
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
    } catch (const db::DbError& e) {
        prompts_.Tell(e.Description());
        if (!grdLookup.IsBound())
            ShowNoRows();
        return found;
    }
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
