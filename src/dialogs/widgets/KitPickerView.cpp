#include "dialogs/widgets/KitPickerView.h"

#include "dialogs/KitPicker.h"
#include "forms/widgets/Binders.h"
#include "forms/widgets/FocusSync.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace dialogs {

namespace {

const QString kCaption = QStringLiteral("View Kit of Items");

// Wide enough to show every column the grid was given.
int WidthOfColumns(const QTableWidget* table)
{
    int width = 2 * table->frameWidth() + table->verticalScrollBar()->sizeHint().width();
    for (int col = 0; col < table->columnCount(); ++col)
        if (!table->isColumnHidden(col))
            width += table->columnWidth(col);
    return width;
}

} // namespace

std::unique_ptr<QDialog> MakeKitPickerView(KitPicker& dialog, QWidget* parent)
{
    auto window = std::make_unique<QDialog>(parent);
    window->setWindowTitle(kCaption);
    window->setObjectName(QStringLiteral("frmKitEntry"));

    auto* grid = new QTableWidget;
    grid->setObjectName(QStringLiteral("flexMSHDetails"));
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    forms::Bind(grid, &dialog.flexMSHDetails);

    auto* addAll = new QCheckBox;
    addAll->setObjectName(QStringLiteral("chkAddAllItems"));
    forms::Bind(addAll, &dialog.chkAddAllItems);
    // The tick box sits on a plain panel of its own.
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("picCheckAll"));
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(addAll);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(panel);
    buttons->addStretch();
    buttons->addWidget(forms::DialogButton("cmdSelect", dialog.cmdSelect));
    buttons->addWidget(forms::DialogButton("cmdClose", dialog.cmdClose));

    auto* frame = new QGroupBox(kCaption);
    frame->setObjectName(QStringLiteral("vkFrame1"));
    auto* inner = new QVBoxLayout(frame);
    inner->addWidget(grid, 1);
    inner->addLayout(buttons);
    auto* layout = new QVBoxLayout(window.get());
    layout->addWidget(frame);
    grid->setMinimumWidth(WidthOfColumns(grid));
    window->resize(window->sizeHint().width(), 360);

    // The window opens where the load put the focus: the grid, or Close
    // when the kit lists nothing.
    forms::SyncFocusFromTheStart(window.get(), dialog.focus);
    return window;
}

} // namespace dialogs
