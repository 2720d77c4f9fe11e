#pragma once

#include "forms/Button.h"
#include "forms/CheckBox.h"
#include "forms/Dialogs.h"
#include "forms/FocusChain.h"
#include "forms/Grid.h"
#include "forms/Label.h"
#include "forms/TextField.h"
#include "requests/IssueStore.h"

#include <QString>
#include <QVector>

namespace db { class Connection; }
namespace forms { class Prompts; }

namespace requests {

// The store clerk's issue of one verified request: its lines with the
// quantity requested, the store's stock and the quantity to issue (at most
// the stock and the request), the shortfall, and whether the rest becomes a
// new request. The quantity box edits the current line; Enter there moves
// to the next line, and after the last one to Issue.
class IssueDialog : public forms::DialogLogic {
    Q_OBJECT
public:
    enum Column { kCode = 0, kItem = 1, kRequested = 2, kOnHand = 3, kIssue = 4, kShort = 5 };

    IssueDialog(db::Connection& connection, forms::Prompts& prompts, QString userId, QObject* parent = nullptr);

    forms::Label lblRequest;
    forms::Grid grdLines;
    forms::TextField txtIssue;
    forms::Label lblTotal;
    forms::Label lblShort;
    forms::CheckBox chkRemainder{QStringLiteral("Request the &rest as a new request")};
    forms::Button cmdIssue{QStringLiteral("&Issue")};
    forms::Button cmdCancel{QStringLiteral("&Cancel")};
    forms::FocusChain focus;

    QString Caption() const;

    // Shows a request as ReadIssue read it, the first line's quantity box
    // focused.
    void Load(const IssueDraft& draft);

    // The quantity box's leave check: a number from 0 to the smaller of
    // the stock and the request goes into the current line; false keeps
    // the focus there.
    bool IssueLeft();
    // Enter in the quantity box.
    void IssueEntered();
    // Issue: writes the issue; the dialog closes accepted when it is done,
    // rejected when another workstation changed the request meanwhile, and
    // stays open (with the stock read again) when a line is short now.
    void Issue();

    const QVector<IssueLine>& Lines() const { return draft_.lines; }
    const QString& Number() const { return draft_.stored.number; }
    // After an accepted issue: the new request holding the rest, or empty.
    const QString& RemainderNumber() const { return remainder_; }
    // The issue was refused because the request changed elsewhere.
    bool ChangedElsewhere() const { return changedElsewhere_; }

private:
    void ShowLine(int row);
    void ShowTotals();
    void RefreshStock();
    bool Refuse(const QString& text);

    db::Connection& connection_;
    forms::Prompts& prompts_;
    QString userId_;
    IssueDraft draft_;
    // The line the quantity box shows: a click on another line leaves the
    // box before the grid moves, and the box's quantity belongs to this one.
    int shownRow_ = 0;
    QString remainder_;
    bool changedElsewhere_ = false;
};

} // namespace requests
