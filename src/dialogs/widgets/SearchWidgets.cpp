#include "dialogs/widgets/SearchWidgets.h"

#include "dialogs/SearchDialog.h"
#include "forms/widgets/Binders.h"
#include "forms/widgets/UpperCaseTyping.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>

namespace dialogs {

SearchWidgets MakeSearchWidgets(SearchDialog& dialog, QWidget* window)
{
    auto* search = new QLineEdit;
    search->setObjectName(QStringLiteral("txtSearch"));
    forms::Bind(search, &dialog.txtSearch);
    forms::UpperCaseTyping(search);
    QPushButton* searchButton = forms::DialogButton("cmdSearch", dialog.cmdSearch);
    searchButton->setIcon(window->style()->standardIcon(QStyle::SP_FileDialogContentsView));
    searchButton->setToolTip(QStringLiteral("Search"));
    auto* grid = new QTableView;
    grid->setObjectName(QStringLiteral("grdLookup"));
    forms::Bind(grid, &dialog.grdLookup);
    return {search, searchButton, grid};
}

} // namespace dialogs
