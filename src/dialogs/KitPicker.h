#pragma once

#include "forms/Button.h"
#include "forms/CheckBox.h"
#include "forms/Dialogs.h"
#include "forms/FocusChain.h"
#include "forms/Grid.h"

#include <QString>
#include <QVariant>

namespace db { class Connection; }

namespace dialogs {

// The kit picker (frmKitEntry, caption "View Kit of Items"): lists the
// components of one kit, lets the user pick one of them or tick "Add All
// Items". The caller sets ItemID to the kit's code, calls Load and runs the
// dialog; afterwards AllItems tells whether every component is wanted, and
// ItemID holds the picked component's code (or still the kit's code when
// the dialog was closed without a pick).
class KitPicker : public forms::DialogLogic {
    Q_OBJECT
public:
    // The grid's width in twips, of which the code column and the three
    // figure columns take a seventh each.
    static constexpr int kGridWidthTwips = 9000;

    explicit KitPicker(db::Connection& connection, QObject* parent = nullptr);

    QString ItemID;
    bool AllItems = false;

    forms::Grid flexMSHDetails;
    forms::CheckBox chkAddAllItems{QStringLiteral("Add All Items")};
    forms::Button cmdSelect{QStringLiteral("&Select")};
    forms::Button cmdClose{QStringLiteral("&Close")};
    forms::FocusChain focus;

    // Prepares a showing for the kit in ItemID: the tick box unticked,
    // AllItems false, the components listed. Database failures reach the
    // caller.
    void Load();
    void LoadKitItems();
    void FormatKitGrid();

    // The user's actions.
    void ClickAddAllItems() { chkAddAllItems.Click(); }
    void ClickSelect() { cmdSelect.Click(); }
    void ClickClose() { cmdClose.Click(); }

private:
    void Select();

    db::Connection& connection_;
};

} // namespace dialogs
