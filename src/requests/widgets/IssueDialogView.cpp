#include "requests/widgets/IssueDialogView.h"

#include "forms/widgets/Binders.h"
#include "forms/widgets/FocusSync.h"
#include "requests/IssueDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace requests {

std::unique_ptr<QDialog> MakeIssueDialogView(IssueDialog& dialog, QWidget* parent)
{
    auto window = std::make_unique<QDialog>(parent);
    window->setWindowTitle(dialog.Caption());
    window->setObjectName(QStringLiteral("frmIssue"));

    auto* request = new QLabel(window.get());
    request->setObjectName(QStringLiteral("lblRequest"));
    forms::Bind(request, &dialog.lblRequest);

    auto* grid = new QTableWidget(window.get());
    grid->setObjectName(QStringLiteral("grdLines"));
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setAlternatingRowColors(true);
    grid->setWordWrap(false);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    forms::Bind(grid, &dialog.grdLines);

    auto* issue = new QLineEdit(window.get());
    issue->setObjectName(QStringLiteral("txtIssue"));
    issue->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    issue->setMaximumWidth(issue->fontMetrics().averageCharWidth() * 14 + 16);
    forms::Bind(issue, &dialog.txtIssue);
    QObject::connect(issue, &QLineEdit::returnPressed, &dialog, &IssueDialog::IssueEntered);
    auto* issueLabel = new QLabel(QStringLiteral("&Quantity to issue:"), window.get());
    issueLabel->setBuddy(issue);

    auto* total = new QLabel(window.get());
    total->setObjectName(QStringLiteral("lblTotal"));
    forms::Bind(total, &dialog.lblTotal);
    auto* shortfall = new QLabel(window.get());
    shortfall->setObjectName(QStringLiteral("lblShort"));
    forms::Bind(shortfall, &dialog.lblShort);

    auto* remainder = new QCheckBox(window.get());
    remainder->setObjectName(QStringLiteral("chkRemainder"));
    forms::Bind(remainder, &dialog.chkRemainder);

    auto* entry = new QHBoxLayout;
    entry->addWidget(issueLabel);
    entry->addWidget(issue);
    entry->addSpacing(24);
    entry->addWidget(total, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(remainder);
    buttons->addStretch(1);
    buttons->addWidget(forms::DialogButton("cmdIssue", dialog.cmdIssue));
    buttons->addWidget(forms::DialogButton("cmdCancel", dialog.cmdCancel));

    auto* layout = new QVBoxLayout(window.get());
    layout->addWidget(request);
    layout->addWidget(grid, 1);
    layout->addLayout(entry);
    layout->addWidget(shortfall);
    layout->addLayout(buttons);
    window->resize(900, 440);

    // Opens on the first line's quantity, where the load put the focus.
    forms::SyncFocusFromTheStart(window.get(), dialog.focus);
    return window;
}

} // namespace requests
