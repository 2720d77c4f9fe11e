#include "requests/KitExpansion.h"

#include "base/Errors.h"
#include "base/Texts.h"
#include "db/Connection.h"
#include "db/Quote.h"
#include "forms/Grid.h"
#include "forms/Prompts.h"

#include <QStringList>

#include <utility>

namespace requests {

namespace {

bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool IsAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

// The component columns in the order of the lines grid.
const char* const kComponentColumns[] = {"ItemID", "ItemName", "Qty", "UnitCost", "Amount", "RetailType"};

// A code as a component procedure's argument: bare where it can stand so,
// which keeps the calls the procedures have always been sent, else quoted.
QString ProcedureArgument(const QString& code)
{
    return IsBareArgument(code) ? code : db::Quote(code);
}

} // namespace

bool IsBareArgument(const QString& code)
{
    if (code.isEmpty())
        return false;
    const bool number = IsAsciiDigit(code.front());
    if (!number && !IsAsciiLetter(code.front()))
        return false;
    for (const QChar c : code)
        if (!IsAsciiDigit(c) && (number || !IsAsciiLetter(c)))
            return false;
    return true;
}

KitExpansion::KitExpansion(db::Connection& connection, forms::Prompts& prompts, forms::DialogHost& dialogs)
    : connection_(connection), prompts_(prompts), dialogs_(dialogs), picker_(connection) {}

bool KitExpansion::IsKit(const QString& itemCode)
{
    const db::RowSet rows = connection_.Execute(
        QStringLiteral("Select B.ItemID as Code from Inventory..tbInvKit A ")
        + QStringLiteral("Left Outer Join Inventory..tbInvMaster B On A.KitID = B.KitID ")
        + QStringLiteral("Where not Active = 'I' and B.ItemID = ") + db::Quote(itemCode));
    if (rows.IsEmpty())
        return false;
    return base::NullToDefault(rows.Field(QStringLiteral("Code")), QString()).toString() == itemCode;
}

bool KitExpansion::ExpandKit(const QString& itemCode, forms::Grid& grdDetails)
{
    if (!prompts_.AskYesNo(QStringLiteral("Item is a Kit. Do you want to add items located in the Kit?"),
                           QStringLiteral("Message"), forms::Icon::Question))
        return false;

    picker_.ItemID = itemCode;
    picker_.Load();
    dialogs_.Run(picker_);

    const QString kit = ProcedureArgument(itemCode.trimmed());
    const QString statement =
        picker_.AllItems ? QStringLiteral("Inventory..sp_Inv_KitofItems ") + kit
                         : QStringLiteral("Inventory..sp_Inv_KitofItems_PerItem ") + kit + QLatin1Char(',')
                               + ProcedureArgument(picker_.ItemID);
    db::RowSet components = connection_.Execute(statement);
    if (components.IsEmpty())
        return false;
    ReplaceLines(std::move(components), grdDetails);
    return true;
}

// The components become the request's lines, followed by the empty row
// that receives a new line, as everywhere else in the lines grid: Add then
// goes to a new row and storing a line never overwrites the last component.
void KitExpansion::ReplaceLines(db::RowSet components, forms::Grid& grdDetails) const
{
    // Every value is read before the grid changes, so a component row
    // without one of the columns fails with the lines untouched.
    QList<QStringList> lines;
    for (components.MoveFirst(); !components.Eof(); components.MoveNext()) {
        QStringList texts;
        for (const char* name : kComponentColumns)
            texts << base::ValueText(components.Field(QLatin1String(name)));
        lines << texts;
    }

    if (grdDetails.Cols() < kLineColumns)
        grdDetails.SetCols(kLineColumns);
    const QStringList emptyRow(grdDetails.Cols());
    grdDetails.SetRows(int(lines.size()) + 2);
    for (int r = 0; r < lines.size(); ++r) {
        QStringList texts = emptyRow;
        for (int c = 0; c < lines[r].size(); ++c)
            texts[c] = lines[r][c];
        grdDetails.SetRowTexts(r + 1, texts);
    }
    grdDetails.SetRowTexts(int(lines.size()) + 1, emptyRow);
    grdDetails.SetTopRow(1);
    grdDetails.SetCurrentCell(1, 1);
}

} // namespace requests
