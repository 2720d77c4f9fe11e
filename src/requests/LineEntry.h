#pragma once

#include <QObject>
#include <QString>

#include <optional>

namespace forms { class Control; enum class Icon; }
namespace records { class clsItem; struct RecordServices; }

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
    LineEntry(RequestScreen& screen, const records::RecordServices& services);

    // "...": the product code check searching with an empty text.
    void SearchProduct();
    // Leave checks of the two number boxes; false keeps the focus there.
    bool QuantityLeft();
    bool UnitCostLeft();

    // "Add to List" / "Update".
    void StoreLine();
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
    const records::RecordServices& services_;
    // The code of the item the last check or line load found: only a looked
    // up item is stored as a line.
    QString foundCode_;
    // The code box's text when the last check or line load ended.
    QString checkedCode_;
    bool codeCheckDue_ = false;
};

} // namespace requests
