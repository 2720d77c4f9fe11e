#include "records/Terms.h"

#include "base/Texts.h"
#include "db/Quote.h"

namespace records {

clsTerms::clsTerms(RecordServices services) : Record(services, QStringLiteral("clsTerms"))
{
    Reset();
}

void clsTerms::Reset()
{
    Status.clear();
    Code = 0;
    NumberOfDays = 0;
    Description.clear();
}

void clsTerms::Fill(const RowReader& row)
{
    Code = row.Int16("TermsID");
    // A NULL description reads as empty text rather than failing the load.
    Description = row.Text("Terms", QString());
    NumberOfDays = row.Int16("Nodays", 0);
    Status = row.Text("Status", QString());
}

bool clsTerms::LoadTerms(qint16 TermsID, const QString& TermDesc)
{
    return Raising(u"LoadTerms", MemberKind::Method, [&] {
        return LoadByKey(TermsID, Code,
                         "Select * From INVENTORY..tbInvTerms Where TermsID = " + base::StrForm(TermsID)
                             + " or Terms = " + db::Quote(TermDesc.trimmed()));
    });
}

bool clsTerms::Update()
{
    return Raising(u"Update", MemberKind::Method, [&] {
        const QString code = QString::number(Code);
        return InsertOrUpdate({
            .existing = "Select * From INVENTORY..tbInvTerms Where TermsID = " + code,
            .update = [&] {
                return "Update INVENTORY..tbInvTerms Set Terms = " + db::Quote(Description)
                       + ", NoDays = " + QString::number(NumberOfDays) + ", Status = " + db::Quote(Status)
                       + " Where TermsID = " + code;
            },
            .newCode = [](db::Connection& connection) {
                return NextInt16Code(connection,
                                     QStringLiteral("Select Max( TermsID ) + 1 As NewCode From INVENTORY..tbInvTerms"));
            },
            .insert = [&](const QString& newCode) {
                return "Insert Into INVENTORY..tbInvTerms ( TermsID, Terms, NoDays, Status ) Values (" + newCode + ","
                       + db::Quote(Description) + "," + base::StrForm(NumberOfDays) + "," + db::Quote(Status) + ")";
            },
        });
    });
}

bool clsTerms::SearchTerms(const QString& TermsID)
{
    return SearchWith([&] { return Services().lookups.PickReference(TermsID, Lookups::Reference::TermsOfPayment); },
        [&](const QString& code) { return LoadTerms(LeadingInt16(code), QString()); });
}

} // namespace records
