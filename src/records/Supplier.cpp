#include "records/Supplier.h"

#include "base/Texts.h"
#include "db/Quote.h"

namespace records {

clsSupplier::clsSupplier(RecordServices services) : Record(services, QStringLiteral("clsSupplier"))
{
    Reset();
}

void clsSupplier::Reset()
{
    TelNum.clear();
    Address3.clear();
    Address2.clear();
    Address1.clear();
    SupplierType.clear();
    SupplierName.clear();
    SupplierID.clear();
    termsCode_ = 0;
}

void clsSupplier::Fill(const RowReader& row)
{
    const QString empty;
    SupplierID = row.Text("SupplierID", empty);
    SupplierName = row.Text("SupplierName", empty);
    Status = row.Text("Status", empty);
    SupplierType = row.Text("SupplierType", empty);
    Address1 = row.Text("Address1", empty);
    Address2 = row.Text("Address2", empty);
    Address3 = row.Text("Address3", empty);
    // NULL flags read as false rather than failing the load.
    FreeGoods = row.Flag("FreeGoods", false);
    termsCode_ = row.Int16("TermsID", 0);
    TelNum = row.Text("TelNum", empty);
    VATSupplier = row.Flag("isVAT", false);
    ContactPerson = row.Text("ContactPerson", empty);
}

std::shared_ptr<clsTerms> clsSupplier::Terms()
{
    return terms_.Get([&](clsTerms& terms) { terms.LoadTerms(termsCode_, QString()); });
}

bool clsSupplier::LoadSupplier(const QString& id)
{
    return Raising(u"LoadSupplier", MemberKind::Method, [&] {
        return LoadByKey(id, SupplierID, "Select * From INVENTORY..tbInvSupplier Where SupplierID = " + db::Quote(id));
    });
}

bool clsSupplier::Update()
{
    return Raising(u"Update", MemberKind::Method, [&] {
        const qint16 termsCode = terms_.Required("Terms").Code;
        const QString termsForInsert = base::StrForm(termsCode);
        // Terms code 0 is stored as no terms by an update, as 0 by an insert.
        const QString termsForUpdate = termsCode == 0 ? QStringLiteral("null") : termsForInsert;
        return InsertOrUpdate({
            .existing = "Select SupplierID From INVENTORY..tbInvSupplier Where SupplierID = " + db::Quote(SupplierID),
            .update = [&] {
                return "Update INVENTORY..tbInvSupplier Set SupplierName = " + db::Quote(SupplierName)
                       + ", Status = " + db::Quote(Status) + ", SupplierType = " + db::Quote(SupplierType)
                       + ", Address1 = " + db::Quote(Address1) + ", Address2 = " + db::Quote(Address2)
                       + ", Address3 = " + db::Quote(Address3) + ", TermsID = " + termsForUpdate
                       + ", TelNum = " + db::Quote(TelNum) + ", " + "FreeGoods = " + TruthText(FreeGoods)
                       + ", isVAT = " + TruthText(VATSupplier) + ", ContactPerson = " + db::Quote(ContactPerson)
                       + " where SupplierID = " + db::Quote(SupplierID);
            },
            .newCode = [](db::Connection& connection) {
                return NextWholeCode(connection,
                                     {QStringLiteral("Select Convert( VarChar(4),Max( Convert(Integer,SupplierID) ) + 1) "
                                                     "As NewSupplierID From INVENTORY..tbInvSupplier "),
                                      QStringLiteral("NewSupplierID"),
                                      QStringLiteral("Select SupplierID From INVENTORY..tbInvSupplier"), QString()});
            },
            // The stored name gets a blank after it.
            .insert = [&](const QString& newID) {
                return "Insert Into INVENTORY..tbInvSupplier (SupplierID, SupplierName, Status, SupplierType, "
                       "Address1, Address2, Address3, TermsID, TelNum, FreeGoods, isVAT, ContactPerson ) Values ("
                       + db::Quote(newID) + "," + db::Quote(SupplierName + " ") + "," + db::Quote(Status) + ","
                       + db::Quote(SupplierType) + "," + db::Quote(Address1) + "," + db::Quote(Address2) + ","
                       + db::Quote(Address3) + "," + termsForInsert + "," + db::Quote(TelNum) + ", "
                       + TruthText(FreeGoods) + "," + TruthText(VATSupplier) + "," + db::Quote(ContactPerson) + " )";
            },
        });
    }, OnFailure::RaiseWithDescription);
}

bool clsSupplier::SearchSupplier(const QString& id)
{
    return SearchWith([&] { return Services().lookups.PickReference(id, Lookups::Reference::Supplier); },
        [&](const QString& code) { return LoadSupplier(code); });
}

} // namespace records
