#include "dialogs/widgets/ReferenceLookupView.h"

#include "dialogs/ReferenceLookup.h"
#include "dialogs/widgets/SearchWidgets.h"
#include "forms/widgets/Binders.h"
#include "forms/widgets/FocusSync.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace dialogs {

std::unique_ptr<QDialog> MakeReferenceLookupView(ReferenceLookup& dialog, QWidget* parent)
{
    auto window = std::make_unique<QDialog>(parent);
    window->setWindowTitle(dialog.Caption());
    window->setObjectName(QStringLiteral("frmLookup"));

    const SearchWidgets w = MakeSearchWidgets(dialog, window.get());
    auto* label = new QLabel(QStringLiteral("Search"));
    label->setObjectName(QStringLiteral("Label1"));
    label->setBuddy(w.search);

    auto* fields = new QHBoxLayout;
    fields->addWidget(label);
    fields->addWidget(w.search, 1);
    fields->addWidget(w.searchButton);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(forms::DialogButton("cmdSelect", dialog.cmdSelect));
    buttons->addWidget(forms::DialogButton("cmdCancel", dialog.cmdCancel));

    auto* layout = new QVBoxLayout(window.get());
    layout->addLayout(fields);
    layout->addWidget(w.grid, 1);
    layout->addLayout(buttons);
    window->resize(480, 400);

    forms::SyncFocusFromTheStart(window.get(), dialog.focus);
    return window;
}

} // namespace dialogs
