#include "requests/widgets/RequestScreenView.h"

#include "forms/widgets/Binders.h"
#include "forms/widgets/FocusSync.h"
#include "forms/widgets/WindowPlacement.h"
#include "forms/widgets/KeyPreviewFilter.h"
#include "requests/RequestScreen.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QShortcut>
#include <QStatusBar>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace requests {

namespace {

constexpr int kInitialWidth = 1000;
constexpr int kInitialHeight = 700;
const QString kPlacement = QStringLiteral("RequestWindow");
// Enough rows of a grid to see that it holds rows, whatever the window size.
constexpr int kMinimumGridHeight = 120;

// A caption for a field. It hides with the field's model, so a box that the
// screen hides does not leave its caption standing alone.
QLabel* CaptionFor(const QString& text, QWidget* buddy, const forms::Control& control)
{
    auto* label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    label->setHidden(!control.IsVisible());
    QObject::connect(&control, &forms::Control::visibleChanged, label,
                     [label](bool visible) { label->setHidden(!visible); });
    return label;
}

// A box the user cannot type into (a display box, a locked field) has the
// window's background, so it does not invite typing.
void ShowTypable(QLineEdit* edit, bool typable)
{
    // A palette with nothing set inherits every colour from the parent.
    QPalette palette;
    if (!typable)
        palette.setColor(QPalette::Base, edit->parentWidget()->palette().color(QPalette::Window));
    edit->setPalette(palette);
}

void AlignFigures(std::initializer_list<QLineEdit*> edits)
{
    for (QLineEdit* edit : edits)
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

// Wide enough for this many characters of the window's font.
void FitCharacters(QWidget* widget, int characters)
{
    widget->setMinimumWidth(widget->fontMetrics().averageCharWidth() * characters + 16);
}

QLabel* Hint(const QString& text, QWidget* parent)
{
    auto* hint = new QLabel(text, parent);
    hint->setForegroundRole(QPalette::PlaceholderText);
    return hint;
}

QComboBox* LocationPicker(const char* name, forms::Picker& picker, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(32);
    forms::Bind(combo, &picker);
    return combo;
}

QCheckBox* Tick(const char* name, forms::CheckBox& check, QWidget* parent)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(QLatin1String(name));
    forms::Bind(box, &check);
    return box;
}

QLabel* FollowingLabel(const char* name, forms::Label& model, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    forms::Bind(label, &model);
    return label;
}

QTableWidget* Table(const char* name, forms::Grid& grid, QWidget* parent)
{
    auto* table = new QTableWidget(parent);
    table->setObjectName(QLatin1String(name));
    table->setMinimumHeight(kMinimumGridHeight);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    // One line of text per row, cut at the column's edge: the column widths
    // are the screen's, so a long name must not make a row taller.
    table->setWordWrap(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    forms::Bind(table, &grid);
    return table;
}

} // namespace

RequestScreenView::RequestScreenView(RequestScreen& screen, QWidget* parent)
    : QMainWindow(parent), screen_(screen)
{
    setObjectName(QStringLiteral("frmMain"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(BuildHeader());
    layout->addWidget(BuildTabs(), 1);
    layout->addWidget(BuildActionRow());

    setWindowTitle(screen_.Caption());
    connect(&screen_, &RequestScreen::captionChanged, this, &QWidget::setWindowTitle);
    connect(&screen_, &RequestScreen::closeRequested, this, [this] {
        closeAgreed_ = true;
        close();
    });
    AskAtLogOut();
    BuildStatusLine();
    // F5 reads the list again, as browsers and file managers refresh.
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, &screen_,
            &RequestScreen::RefreshList);

    // Both find the control behind a widget through the binders' marks, so
    // they come after the binding.
    focusSync_ = new forms::FocusSync(this, screen_.focus);
    new forms::KeyPreviewFilter(this, screen_.keys);
    FollowChainTabOrder();

    PlaceRetailOptions();
    connect(&screen_.lblForRetail, &forms::Label::captionChanged, this, &RequestScreenView::PlaceRetailOptions);

    forms::PlaceWindow(this, kPlacement, {kInitialWidth, kInitialHeight});
}

RequestScreenView::~RequestScreenView() = default;

void RequestScreenView::showEvent(QShowEvent* event)
{
    // The site's variants are known only once the screen has loaded, which
    // may be after this window was built.
    PlaceRetailOptions();
    closeAgreed_ = false;
    QMainWindow::showEvent(event);
}

void RequestScreenView::closeEvent(QCloseEvent* event)
{
    if (!closeAgreed_ && !screen_.MayClose()) {
        event->ignore();
        return;
    }
    closeAgreed_ = true;
    forms::RememberPlacement(this, kPlacement);
    QMainWindow::closeEvent(event);
}

void RequestScreenView::AskAtLogOut()
{
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (closeAgreed_ || !manager.allowsInteraction())
            return;
        closeAgreed_ = screen_.MayClose();
        manager.release();
        if (!closeAgreed_)
            manager.cancel();
    });
}

void RequestScreenView::BuildStatusLine()
{
    auto* line = new QLabel(this);
    line->setObjectName(QStringLiteral("lblStatus"));
    forms::Bind(line, &screen_.lblStatus);
    statusBar()->addWidget(line, 1);
}

QLineEdit* RequestScreenView::Entry(const char* name, forms::TextField& field, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    forms::Bind(edit, &field);
    ShowTypable(edit, !field.IsLocked());
    connect(&field, &forms::TextField::lockedChanged, edit, [edit](bool locked) { ShowTypable(edit, !locked); });
    return edit;
}

QLineEdit* RequestScreenView::Display(const char* name, forms::TextField& field, QWidget* parent)
{
    QLineEdit* edit = Entry(name, field, parent);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    // The binder follows the model's lock; a display box stays read-only
    // whatever the lock says.
    connect(&field, &forms::TextField::lockedChanged, edit, [edit] {
        edit->setReadOnly(true);
        ShowTypable(edit, false);
    });
    ShowTypable(edit, false);
    return edit;
}

QPushButton* RequestScreenView::Push(const char* name, forms::Button& model, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    forms::Bind(button, &model);
    return button;
}

QList<QRadioButton*> RequestScreenView::Radios(const char* name, forms::OptionGroup& group, QWidget* parent)
{
    QList<QRadioButton*> radios;
    for (int i = 0; i < group.Count(); ++i) {
        auto* radio = new QRadioButton(parent);
        radio->setObjectName(QLatin1String(name) + QString::number(i));
        radios << radio;
    }
    forms::Bind(radios, &group);
    return radios;
}

QWidget* RequestScreenView::BuildHeader()
{
    auto* header = new QWidget(centralWidget());
    auto* grid = new QGridLayout(header);
    grid->setContentsMargins(0, 0, 0, 0);

    // Right-aligned, so the colons of the two captions line up.
    const auto addRow = [header, grid](int row, const QString& caption, QComboBox* picker, const QString& hint,
                                       QPushButton* button) {
        auto* label = new QLabel(caption, header);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(picker);
        grid->addWidget(label, row, 0);
        grid->addWidget(picker, row, 1);
        grid->addWidget(Hint(hint, header), row, 2);
        grid->addWidget(button, row, 4);
    };
    addRow(0, QStringLiteral("Department From      :"),
           LocationPicker("cboTargetLocation", screen_.cboTargetLocation, header),
           QStringLiteral("(Department you're from)"), Push("cmdDetails", screen_.cmdDetails, header));
    addRow(1, QStringLiteral("Request to Location  :"), LocationPicker("cboLocation", screen_.cboLocation, header),
           QStringLiteral("(Department you're requesting to)"), Push("cmdList", screen_.cmdList, header));
    grid->setColumnStretch(3, 1);
    return header;
}

QWidget* RequestScreenView::BuildTabs()
{
    auto* tabs = new QTabWidget(centralWidget());
    tabs->setObjectName(QStringLiteral("SSTab1"));
    // The pages join the tab widget before they are filled, so no widget
    // changes parent after it was bound.
    auto* listPage = new QWidget;
    auto* detailsPage = new QWidget;
    tabs->addTab(listPage, QString());
    tabs->addTab(detailsPage, QString());
    FillListPage(listPage);
    FillDetailsPage(detailsPage);
    forms::Bind(tabs, &screen_.SSTab1);
    return tabs;
}

void RequestScreenView::FillListPage(QWidget* page)
{
    RequestList& list = screen_.List();
    auto* layout = new QVBoxLayout(page);
    auto* options = new QHBoxLayout;
    for (QRadioButton* radio : Radios("optOptions", list.optOptions, page))
        options->addWidget(radio);
    options->addSpacing(24);
    options->addWidget(Tick("chkverified", list.chkverified, page));
    options->addStretch(1);
    options->addWidget(Push("cmdIssue", screen_.Issuing().cmdIssue, page));
    layout->addLayout(options);
    layout->addWidget(Table("grdListing", list.grdListing, page), 1);
}

void RequestScreenView::FillDetailsPage(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);

    auto* top = new QGridLayout;
    QLineEdit* docNum = Entry("txtDocNum", screen_.txtDocNum, page);
    FitCharacters(docNum, RequestScreen::kDocumentNumberLength + 2);
    auto* transDate = new QDateTimeEdit(page);
    transDate->setObjectName(QStringLiteral("txtTransDate"));
    transDate->setCalendarPopup(true);
    forms::Bind(transDate, &screen_.txtTransDate);
    QLineEdit* remarks = Entry("txtRemarks", screen_.txtRemarks, page);
    top->addWidget(CaptionFor(QStringLiteral("Document No."), docNum, screen_.txtDocNum), 0, 0);
    top->addWidget(docNum, 0, 1);
    top->addWidget(CaptionFor(QStringLiteral("Transaction Date"), transDate, screen_.txtTransDate), 0, 2,
                   Qt::AlignRight);
    top->addWidget(transDate, 0, 3);
    top->addWidget(CaptionFor(QStringLiteral("JUSTIFICATION OF REQUEST:"), remarks, screen_.txtRemarks), 1, 0);
    top->addWidget(remarks, 1, 1, 1, 4);
    top->setColumnStretch(4, 1);
    layout->addLayout(top);

    layout->addWidget(BuildItemEntry(page));
    layout->addWidget(Table("grdDetails", screen_.grdDetails, page), 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Push("cmdAdd", screen_.cmdAdd, page));
    bottom->addWidget(Push("cmdDelete", screen_.cmdDelete, page));
    bottom->addSpacing(16);
    bottom->addWidget(Push("cmdFill", screen_.Filling().cmdFill, page));
    bottom->addStretch(1);
    QLineEdit* lineCounter = Display("txtLineCounter", screen_.txtLineCounter, page);
    QLineEdit* totalCounter = Display("txtTotalCounter", screen_.txtTotalCounter, page);
    FitCharacters(lineCounter, 10);
    FitCharacters(totalCounter, 18);
    AlignFigures({totalCounter});
    bottom->addWidget(CaptionFor(QStringLiteral("Line:"), lineCounter, screen_.txtLineCounter));
    bottom->addWidget(lineCounter);
    bottom->addSpacing(16);
    bottom->addWidget(CaptionFor(QStringLiteral("Grand Total:"), totalCounter, screen_.txtTotalCounter));
    bottom->addWidget(totalCounter);
    bottom->addSpacing(32);
    bottom->addWidget(Push("cmdVerify", screen_.cmdVerify, page));
    bottom->addWidget(Push("cmdSave", screen_.cmdSave, page));
    bottom->addWidget(Push("cmdCancel", screen_.cmdCancel, page));
    layout->addLayout(bottom);
}

// Typed entries run down the left column in the order they are filled in;
// the item's figures stand in the two columns to their right.
QWidget* RequestScreenView::BuildItemEntry(QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("Item Entry"), parent);
    auto* grid = new QGridLayout(box);
    itemGrid_ = grid;
    const auto addField = [this, grid](int row, int col, const QString& caption, QLineEdit* edit,
                                       const forms::TextField& field) {
        QLabel* label = CaptionFor(caption, edit, field);
        grid->addWidget(label, row, col);
        grid->addWidget(edit, row, col + 1);
        if (col == 0)
            itemLabelColumn_ << label;
    };

    QLineEdit* code = Entry("txtProdCode", screen_.txtProdCode, box);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(code, 1);
    QPushButton* search = Push("cmdCode", screen_.cmdCode, box);
    search->setFixedWidth(search->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    codeRow->addWidget(search);
    QLabel* codeLabel = CaptionFor(QStringLiteral("Code"), code, screen_.txtProdCode);
    grid->addWidget(codeLabel, 0, 0);
    grid->addLayout(codeRow, 0, 1);
    itemLabelColumn_ << codeLabel;
    QLineEdit* name = Display("txtProdName", screen_.txtProdName, box);
    grid->addWidget(CaptionFor(QStringLiteral("Name/Desc"), name, screen_.txtProdName), 0, 2);
    grid->addWidget(name, 0, 3, 1, 4);

    QLineEdit* quantity = Entry("txtWithdraw", screen_.txtWithdraw, box);
    QLineEdit* unitCost = Entry("txtUnitCost", screen_.txtUnitCost, box);
    QLineEdit* totalCost = Display("txtTotalCost", screen_.txtTotalCost, box);
    addField(1, 0, QStringLiteral("Quantity"), quantity, screen_.txtWithdraw);
    addField(3, 0, QStringLiteral("Unit Cost"), unitCost, screen_.txtUnitCost);
    addField(4, 0, QStringLiteral("Total Cost"), totalCost, screen_.txtTotalCost);

    // The retail row spans the label and field columns; the indent after
    // the label decides whether the options line up with the fields.
    auto* retailRow = new QHBoxLayout;
    retailRow->setSpacing(grid->horizontalSpacing());
    retailLabel_ = FollowingLabel("lblForRetail", screen_.lblForRetail, box);
    retailRow->addWidget(retailLabel_);
    retailIndent_ = new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    retailRow->addSpacerItem(retailIndent_);
    for (QRadioButton* radio : Radios("optConsumed", screen_.optConsumed, box))
        retailRow->addWidget(radio);
    retailRow->addStretch(1);
    grid->addLayout(retailRow, 2, 0, 1, 2);

    QLineEdit* onHand = Display("txtOnhand", screen_.txtOnhand, box);
    QLineEdit* packing = Display("txtPacking", screen_.txtPacking, box);
    QLineEdit* averageCost = Display("txtAverageCost", screen_.txtAverageCost, box);
    QLineEdit* listCost = Display("txtListCost", screen_.txtListCost, box);
    addField(1, 2, QStringLiteral("Current Stock"), onHand, screen_.txtOnhand);
    addField(2, 2, QStringLiteral("Packing"), packing, screen_.txtPacking);
    addField(3, 2, QStringLiteral("Average Cost"), averageCost, screen_.txtAverageCost);
    addField(4, 2, QStringLiteral("List Cost"), listCost, screen_.txtListCost);

    QLineEdit* uom = Display("txtUOM", screen_.txtUOM, box);
    addField(1, 4, QStringLiteral("Unit of Measure"), uom, screen_.txtUOM);
    QLineEdit* minStock = Display("txtMin", screen_.txtMin, box);
    QLineEdit* maxStock = Display("txtMax", screen_.txtMax, box);
    grid->addWidget(FollowingLabel("lblMin", screen_.lblMin, box), 2, 4);
    grid->addWidget(minStock, 2, 5);
    grid->addWidget(FollowingLabel("lblMax", screen_.lblMax, box), 3, 4);
    grid->addWidget(maxStock, 3, 5);

    auto* ads = new QHBoxLayout;
    ads->addWidget(Tick("chkAdS", screen_.chkAdS, box));
    ads->addWidget(FollowingLabel("lblADSStock", screen_.lblADSStock, box), 1);
    grid->addLayout(ads, 4, 4, 1, 2);
    grid->addWidget(Push("cmdOK", screen_.cmdOK, box), 4, 6);

    AlignFigures({quantity, unitCost, totalCost, onHand, averageCost, listCost, minStock, maxStock});
    for (int col : {1, 3, 5})
        grid->setColumnStretch(col, 1);

    // The "On Order" box keeps its model but is never shown.
    QLineEdit* onOrder = Entry("Text2", screen_.Text2, box);
    onOrder->hide();
    connect(&screen_.Text2, &forms::Control::visibleChanged, onOrder, &QWidget::hide);
    return box;
}

QWidget* RequestScreenView::BuildActionRow()
{
    auto* row = new QWidget(centralWidget());
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Push("cmdNew", screen_.cmdNew, row));
    layout->addWidget(Push("cmdEdit", screen_.cmdEdit, row));
    layout->addWidget(Push("cmdDeleteReq", screen_.cmdDeleteReq, row));
    layout->addStretch(1);
    layout->addWidget(Tick("chkPrint", screen_.chkPrint, row));
    layout->addWidget(Push("cmdView", screen_.cmdView, row));
    layout->addSpacing(16);
    layout->addWidget(Push("cmdExit", screen_.cmdExit, row));
    return row;
}

// A typed Tab (also the one the shell object sends) walks the widgets in
// the screen's own order, the order Enter follows.
void RequestScreenView::FollowChainTabOrder()
{
    QWidget* previous = nullptr;
    for (const forms::Control* control : screen_.focus.Order()) {
        QWidget* widget = focusSync_->WidgetOf(control);
        if (!widget || widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

// By default the options stand in the field column: the label column is
// made wide enough for the retail label, and the indent fills the rest of
// it. At the left, the options follow the label at once.
void RequestScreenView::PlaceRetailOptions()
{
    const int labelWidth = retailLabel_->sizeHint().width();
    int labelColumn = 0;
    if (!screen_.RetailOptionsAtLeft()) {
        labelColumn = labelWidth;
        for (const QLabel* label : std::as_const(itemLabelColumn_))
            labelColumn = std::max(labelColumn, label->sizeHint().width());
    }
    retailIndent_->changeSize(std::max(0, labelColumn - labelWidth), 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    itemGrid_->setColumnMinimumWidth(0, labelColumn);
    itemGrid_->invalidate();
}

} // namespace requests
