#pragma once

#include <QObject>
#include <QString>

#include "records/RecordServices.h"

#include <optional>

namespace forms { class Control; class Picker; enum class Icon; }
namespace app { struct SessionContext; }
namespace forms { class Prompts; }
namespace records { class clsItem; }

namespace requests {

class RequestScreen;

// The line entry of the request screen: an item found by code, barcode or
// search with its stock figures, the quantity and unit cost checks, storing
// the entry fields as a line of the lines grid, moving between lines, and
// the totals and the line counter. It works on the screen's own controls
// and binds their events itself.
class LineEntry : public QObject {
    Q_OBJECT
public:
    LineEntry(RequestScreen& screen, app::SessionContext& session, forms::Prompts& prompts,
              records::RecordServices services);

    // "...": the product code check searching with an empty text.
    void SearchProduct();
    // Leave checks of the two number boxes; false keeps the focus there.
    bool QuantityLeft();
    bool UnitCostLeft();

    // "Add to List" / "Update".
    void StoreLine();
    // Enters a line the screen chose itself (filling from the department's
    // levels) as if its code and quantity had been typed into the empty last
    // row: the item's figures at the stock location, the quantity and unit
    // cost boxes left, then "Add to List", so every check and message of a
    // typed line applies. True when the line went into the grid.
    bool EnterItemLine(const QString& itemId, const QString& quantity);
    // While many lines are entered at once the grand total is summed once
    // at the end, not over the whole grid after every line.
    void HoldGrandTotal(bool hold);
    void Add();
    // Removes the current line, without asking; never the empty last row.
    void Delete();
    // A double click or Enter on a line of the grid.
    void OpenCurrentLine();

    void LoadCurrentLine();
    void LoadLineItem();
    void ShowLineTotal();
    void ShowGrandTotal();
    void ShowLineCounter();

    // The display boxes were emptied: no item is shown any more, so the
    // next leave of the code box looks the code up again.
    void ForgetShownItem();

private:
    // Where the focus goes when a product code check ends.
    enum class Outcome { MoveOn, ToQuantity, StayInCode };

    void Connect();
    Outcome CheckProductCode();
    Outcome FindItem();
    void FillFromItem(records::clsItem& item);
    // Where the check reads the stock: the request-to location, or the
    // department on the site that keeps its stock there.
    const forms::Picker& StockLocation() const;
    void RememberShownItem(const QString& code, const QString& readAt);
    // Whether the display boxes show the code box's item with figures that
    // still hold for the request's locations: the code check need not run,
    // and a line may be stored.
    bool ShowsItem() const;
    void ShowOutcome(Outcome outcome);
    // The code box is checked when the focus leaves it, except for the
    // "..." button, which runs the check itself when pressed; when the focus
    // goes on from the button instead, the check runs then.
    bool ProductCodeLeft();
    bool SearchButtonLeft();
    void EnterToStoreButton();
    // Whether a quantity above the stock is refused (site switch 5); a
    // failed read of the switch is shown and stops the action.
    std::optional<bool> StockLimited();
    // Makes the row current; when it already was, reloads it all the same.
    void MoveToRow(int row);
    void Tell(const QString& text, const QString& title, forms::Icon icon);
    // A refusal of "Add to List": its message, then the box to correct.
    void Refuse(const QString& text, forms::Control* focusTo);
    void RefusedForZeroOnHand();

    RequestScreen& s_;
    app::SessionContext& session_;
    forms::Prompts& prompts_;
    records::RecordServices services_;
    // The item the display boxes show. Its figures were read at one
    // location, and the product search offers only items held at both of
    // the request's locations, so the pickers as they were then are kept
    // too: a change of either means the boxes may no longer fit the request.
    struct ShownItem {
        QString code;
        QString readAt;
        QString requestTo;
        QString departmentFrom;
    };
    std::optional<ShownItem> shown_;
    bool codeCheckDue_ = false;
    // Set while a kit replaces the lines: the grid moves its current cell
    // as it is rebuilt, and the first component is loaded once, afterwards.
    bool holdLineLoads_ = false;
    bool holdGrandTotal_ = false;
};

} // namespace requests
