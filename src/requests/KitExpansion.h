#pragma once

#include "db/RowSet.h"
#include "dialogs/KitPicker.h"

#include <QString>

namespace db { class Connection; }
namespace forms { class DialogHost; class Grid; class Prompts; }

namespace requests {

// The request screen's kit work: tells whether an item code is a kit and
// replaces the request's lines by the kit's components, all of them or the
// one the user picks in the kit picker. One picker serves every kit.
// Database failures reach the caller.
class KitExpansion {
public:
    KitExpansion(db::Connection& connection, forms::Prompts& prompts, forms::DialogHost& dialogs);

    // The kit test: true when the item code (the code box's text) is a kit
    // with an active kit row.
    bool IsKit(const QString& itemCode);

    // Asks, lets the user pick in the kit picker, and replaces the lines of
    // the grid with the kit's components; true when the lines were replaced
    // (row 1 is then current and the caller copies it into the entry
    // fields), false when the user said No or the components query gave
    // nothing.
    //
    // The codes go into the component procedures unquoted when they can
    // stand so (IsBareArgument), otherwise as quoted literals.
    bool ExpandKit(const QString& itemCode, forms::Grid& grdDetails);

    // The components' grid columns: code, name, quantity, unit cost, total,
    // retail flag; the ADS column after them stays empty.
    static constexpr int kLineColumns = 7;

private:
    void ReplaceLines(db::RowSet components, forms::Grid& grdDetails) const;

    db::Connection& connection_;
    forms::Prompts& prompts_;
    forms::DialogHost& dialogs_;
    dialogs::KitPicker picker_;
};

// Whether a code can stand unquoted as a procedure argument without
// changing the statement: digits only, or a letter followed by letters and
// digits (ASCII).
bool IsBareArgument(const QString& code);

} // namespace requests
