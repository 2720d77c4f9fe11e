#include "dialogs/ReferenceLookup.h"

#include "base/Texts.h"
#include "db/DbError.h"
#include "db/Quote.h"

#include <QRegularExpression>

namespace dialogs {

namespace {

constexpr int kCodeColumn = 1;
// The name column; the code keeps the grid's default width.
const QList<int> kColumnWidths = {4200};

// The statement pieces of one lookup type: the numeric search text is a
// code, any other text the start of a name. A numeric code goes into the
// statement as it was typed.
struct LookupQuery {
    const char* head;
    QString (*byCode)(const QString& text);
    const char* nameColumn;
    const char* tail;
    bool numericCode;
};

// The numeric test also passes thousands separators ("1,2") and the "D"
// exponent ("1D2"), which no database reads as a number: written into the
// statement they would be a syntax error.
bool IsNumberLiteral(const QString& value)
{
    static const QRegularExpression literal(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)(E[+-]?\\d+)?$"));
    return literal.match(value).hasMatch();
}

QString SupplierByCode(const QString& text)
{
    return QStringLiteral(" Where SupplierID = ") + db::Quote(text);
}

QString TermsByCode(const QString& text)
{
    return QStringLiteral(" Where TermsID = ") + text;
}

QString UnitByCode(const QString& text)
{
    return QStringLiteral(" Where UnitOfMeasureID = ") + text;
}

const LookupQuery* QueryOf(qint16 lookupType)
{
    static const LookupQuery queries[] = {
        {"Select DISTINCT SupplierName as Supplier,SupplierID As Code From INVENTORY..tbinvSupplier ",
         &SupplierByCode, " Where SupplierName Like ",
         " and  (not Status = 'I' or Status is null) ORDER by SupplierName", false},
        {"Select DISTINCT Terms AS [Terms of Payment] , TermsID as Code From INVENTORY..tbinvTerms ", &TermsByCode,
         " Where Terms Like ", " and  (not Status = 'I' or Status is null) Order by Terms", true},
        {"Select UnitOfMeasure As [Unit of Measure], UnitOfMeasureID as Code From INVENTORY..tbinvUnitOfMeasure ",
         &UnitByCode, " Where UnitOfMeasure Like ", " and ( Not Status = 'I' or Status is Null ) Order by UnitOfMeasure",
         true},
    };
    if (lookupType < ReferenceLookup::Supplier || lookupType > ReferenceLookup::UnitOfMeasure)
        return nullptr;
    return &queries[lookupType - 1];
}

} // namespace

ReferenceLookup::ReferenceLookup(db::Connection& connection, forms::Prompts& prompts, QObject* parent)
    : SearchDialog(connection, prompts, parent)
{
    focus.Add({&txtSearch, &cmdSearch, &grdLookup, &cmdSelect, &cmdCancel});
    connect(&cmdCancel, &forms::Button::clicked, this, [this] { Close(forms::DialogResult::Rejected); });
}

QString ReferenceLookup::Caption() const
{
    switch (LookupType) {
    case Supplier: return QStringLiteral("Supplier");
    case TermsOfPayment: return QStringLiteral("Terms of Payment");
    case UnitOfMeasure: return QStringLiteral("Unit of Measure");
    default: return QStringLiteral("Lookup");
    }
}

void ReferenceLookup::Load()
{
    BeginLoad();
    txtSearch.SetText(SearchString);
    RunSearch(SearchString);
    focus.Focus(&txtSearch);
}

bool ReferenceLookup::RunSearch(const QString& text)
{
    return ShowSearch([&] { return Query{SearchStatement(text), {}}; }, kColumnWidths);
}

// An unknown lookup type has no statement: it fails like a refused one.
QString ReferenceLookup::SearchStatement(const QString& text) const
{
    const LookupQuery* query = QueryOf(LookupType);
    if (!query)
        throw db::DbError(QStringLiteral("There is no lookup of type %1.").arg(LookupType));
    const QString value = text.trimmed().toUpper();
    const bool byCode = base::IsNumeric(text);
    if (byCode && query->numericCode && !IsNumberLiteral(value))
        throw db::DbError(QStringLiteral("\"%1\" is no %2 code: type the code as a plain number, or the start of a "
                                         "name.")
                              .arg(text.trimmed(), Caption()));
    const QString condition = byCode ? query->byCode(value)
                                     : QLatin1String(query->nameColumn) + db::Quote(value + QLatin1Char('%'));
    return QLatin1String(query->head) + condition + QLatin1String(query->tail);
}

// The Code column, whichever column the user was on.
void ReferenceLookup::Select()
{
    Pick(kCodeColumn);
}

QString RunReferenceLookup(db::Connection& connection, forms::Prompts& prompts, forms::DialogHost& dialogs,
                           const QString& searchString, qint16 lookupType)
{
    ReferenceLookup dialog(connection, prompts);
    dialog.SearchString = searchString;
    dialog.LookupType = lookupType;
    return RunSearchDialog(dialogs, dialog);
}

} // namespace dialogs
