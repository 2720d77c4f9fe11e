#pragma once

#include "dialogs/SearchDialog.h"

#include <QString>

namespace dialogs {

// The reference lookup (frmLookup): picks a supplier, a payment term or a
// unit of measure by code or by the start of its name. Unlike the product
// search, typing alone does not search: Enter in the search box (the
// search button is its default) or the button does. Select reads the Code
// column of the current row. A numeric text that no database reads as a
// number ("1,2", "1D2") finds no terms or unit: the lookup says so itself.
class ReferenceLookup : public SearchDialog {
    Q_OBJECT
public:
    enum Type : qint16 { Supplier = 1, TermsOfPayment = 2, UnitOfMeasure = 3 };

    ReferenceLookup(db::Connection& connection, forms::Prompts& prompts, QObject* parent = nullptr);

    // Set by the caller before Load: which table is searched.
    qint16 LookupType = 0;

    forms::Button cmdCancel{QStringLiteral("&Cancel")};

    // The window's caption: the looked-up kind, or the design caption for
    // a type it does not know.
    QString Caption() const;

    // The dialog's load: forgets an earlier pick, puts SearchString in the
    // search box and searches with it once.
    void Load() override;

    void ClickCancel() { cmdCancel.Click(); }

private:
    bool RunSearch(const QString& text) override;
    void Select() override;
    QString SearchStatement(const QString& text) const;
};

// The calling protocol of the record classes' search operations: loads the
// dialog unseen with this text and type, takes a single match without
// showing it, else runs it modally. Returns the picked code, empty when
// none. Failures reach the caller.
QString RunReferenceLookup(db::Connection& connection, forms::Prompts& prompts, forms::DialogHost& dialogs,
                           const QString& searchString, qint16 lookupType);

} // namespace dialogs
