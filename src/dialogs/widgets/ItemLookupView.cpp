#include "dialogs/widgets/ItemLookupView.h"

#include "dialogs/ItemLookup.h"
#include "dialogs/widgets/SearchWidgets.h"
#include "forms/widgets/Binders.h"
#include "forms/widgets/FocusSync.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace dialogs {

namespace {

QLineEdit* Field(const char* name, forms::TextField& model)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    forms::Bind(edit, &model);
    return edit;
}

} // namespace

std::unique_ptr<QDialog> MakeItemLookupView(ItemLookup& dialog, QWidget* parent)
{
    auto window = std::make_unique<QDialog>(parent);
    window->setWindowTitle(QStringLiteral("Product Search"));
    window->setObjectName(QStringLiteral("frmItemLookup"));

    QLineEdit* location = Field("txtLocation", dialog.txtLocation);
    location->setFocusPolicy(Qt::NoFocus);
    const SearchWidgets w = MakeSearchWidgets(dialog, window.get());
    QLineEdit* search = w.search;

    auto* frame = new QGroupBox(QStringLiteral("Product Search"));
    frame->setObjectName(QStringLiteral("vkFrame1"));
    auto* fields = new QGridLayout;
    auto* locationLabel = new QLabel(QStringLiteral("Location"));
    locationLabel->setObjectName(QStringLiteral("vkLabel1"));
    auto* searchLabel = new QLabel(QStringLiteral("Search"));
    searchLabel->setObjectName(QStringLiteral("vkLabel2"));
    searchLabel->setBuddy(search);
    fields->addWidget(locationLabel, 0, 0);
    fields->addWidget(location, 0, 1, 1, 2);
    fields->addWidget(searchLabel, 1, 0);
    fields->addWidget(search, 1, 1);
    fields->addWidget(w.searchButton, 1, 2);
    fields->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(forms::DialogButton("cmdSelect", dialog.cmdSelect));
    buttons->addWidget(forms::DialogButton("cmdClose", dialog.cmdClose));

    auto* inner = new QVBoxLayout(frame);
    inner->addLayout(fields);
    inner->addWidget(w.grid, 1);
    inner->addLayout(buttons);
    auto* layout = new QVBoxLayout(window.get());
    layout->addWidget(frame);
    window->resize(900, 520);

    forms::SyncFocusFromTheStart(window.get(), dialog.focus);
    return window;
}

} // namespace dialogs
