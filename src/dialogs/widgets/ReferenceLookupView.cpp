#include "dialogs/widgets/ReferenceLookupView.h"

#include "dialogs/ReferenceLookup.h"
#include "forms/widgets/Binders.h"
#include "forms/widgets/FocusSync.h"
#include "forms/widgets/UpperCaseTyping.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace dialogs {

std::unique_ptr<QDialog> MakeReferenceLookupView(ReferenceLookup& dialog, QWidget* parent)
{
    auto window = std::make_unique<QDialog>(parent);
    window->setWindowTitle(dialog.Caption());
    window->setObjectName(QStringLiteral("frmLookup"));

    auto* search = new QLineEdit;
    search->setObjectName(QStringLiteral("txtSearch"));
    forms::Bind(search, &dialog.txtSearch);
    forms::UpperCaseTyping(search);
    QPushButton* searchButton = forms::DialogButton("cmdSearch", dialog.cmdSearch);
    searchButton->setIcon(window->style()->standardIcon(QStyle::SP_FileDialogContentsView));
    searchButton->setToolTip(QStringLiteral("Search"));
    auto* label = new QLabel(QStringLiteral("Search"));
    label->setObjectName(QStringLiteral("Label1"));
    label->setBuddy(search);

    auto* grid = new QTableView;
    grid->setObjectName(QStringLiteral("grdLookup"));
    forms::Bind(grid, &dialog.grdLookup);

    auto* fields = new QHBoxLayout;
    fields->addWidget(label);
    fields->addWidget(search, 1);
    fields->addWidget(searchButton);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(forms::DialogButton("cmdSelect", dialog.cmdSelect));
    buttons->addWidget(forms::DialogButton("cmdCancel", dialog.cmdCancel));

    auto* layout = new QVBoxLayout(window.get());
    layout->addLayout(fields);
    layout->addWidget(grid, 1);
    layout->addLayout(buttons);
    window->resize(480, 400);

    new forms::FocusSync(window.get(), dialog.focus);
    // The window opens on the search box, or wherever the logic put the focus.
    if (dialog.focus.Current())
        emit dialog.focus.focusRequested(dialog.focus.Current());
    return window;
}

} // namespace dialogs
