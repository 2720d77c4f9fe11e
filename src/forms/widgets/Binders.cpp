#include "forms/widgets/Binders.h"

#include "forms/Button.h"
#include "forms/CheckBox.h"
#include "forms/DateTimePicker.h"
#include "forms/Grid.h"
#include "forms/Label.h"
#include "forms/OptionGroup.h"
#include "forms/Picker.h"
#include "forms/ResultGrid.h"
#include "forms/Tabs.h"
#include "forms/TextField.h"
#include "forms/widgets/ResultGridModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>

#include <functional>

namespace forms {

namespace {

const char* const kControlProperty = "formsControl";

void MarkWidget(QWidget* widget, Control* control)
{
    widget->setProperty(kControlProperty, QVariant::fromValue(static_cast<QObject*>(control)));
    QObject::connect(control, &QObject::destroyed, widget,
                     [widget] { widget->setProperty(kControlProperty, QVariant()); });
}

// Enabled and visible, model to widget.
void FollowState(QWidget* widget, Control* control)
{
    widget->setEnabled(control->IsEnabled());
    widget->setHidden(!control->IsVisible());
    QObject::connect(control, &Control::enabledChanged, widget, &QWidget::setEnabled);
    QObject::connect(control, &Control::visibleChanged, widget, [widget](bool visible) { widget->setHidden(!visible); });
    MarkWidget(widget, control);
}

// Runs a function on every event of one type that reaches a widget; the
// function returns true to consume the event.
class EventHook : public QObject {
public:
    EventHook(QWidget* widget, std::function<bool(QEvent*)> hook) : QObject(widget), hook_(std::move(hook))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return hook_(event); }

private:
    std::function<bool(QEvent*)> hook_;
};

// The selection a mouse press makes comes after the focus-in, so the whole
// text is selected once the press is over.
void SelectAllOnFocus(QLineEdit* edit, TextField* field)
{
    new EventHook(edit, [edit, field](QEvent* event) {
        if (event->type() == QEvent::FocusIn && field->SelectsAllOnFocus())
            QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        return false;
    });
}

void ShowPickerRows(QComboBox* combo, const Picker* picker)
{
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (const PickerRow& row : picker->Rows())
        combo->addItem(row.text, row.value);
    combo->setCurrentIndex(picker->CurrentIndex());
    combo->setEditText(picker->Text());
}

void ShowPickerText(QComboBox* combo, const Picker* picker)
{
    if (combo->currentText() == picker->Text())
        return;
    const int index = picker->CurrentIndex();
    if (index >= 0 && index < combo->count())
        combo->setCurrentIndex(index);
    combo->setEditText(picker->Text());
}

void ShowOption(QRadioButton* radio, const OptionGroup* group, int index)
{
    radio->setText(group->Caption(index));
    radio->setEnabled(group->IsEnabled() && group->IsOptionEnabled(index));
    radio->setHidden(!group->IsVisible() || !group->IsOptionVisible(index));
}

void ShowSelection(const QList<QRadioButton*>& radios, const OptionGroup* group)
{
    for (int i = 0; i < radios.size(); ++i) {
        QRadioButton* radio = radios[i];
        const bool selected = group->IsSelected(i);
        if (radio->isChecked() == selected)
            continue;
        // An exclusive radio button cannot be unchecked directly; the group
        // may have no selection at all.
        const bool exclusive = radio->autoExclusive();
        radio->setAutoExclusive(false);
        radio->setChecked(selected);
        radio->setAutoExclusive(exclusive);
    }
}

Qt::Alignment CellAlignment(ColumnAlignment alignment, const QString& text)
{
    return (AlignsRight(alignment, text) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

Qt::Alignment HeaderAlignment(ColumnAlignment alignment)
{
    return (alignment == ColumnAlignment::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

void ShowColumnWidth(QTableView* table, int col, int twips)
{
    table->setColumnHidden(col, twips == 0);
    if (twips > 0)
        table->setColumnWidth(col, TwipsToPixels(twips, QFontMetrics(table->font()).horizontalAdvance(QLatin1Char('0'))));
}

void ShowCell(QTableWidget* table, const Grid* grid, int row, int col)
{
    const QString text = grid->Text(row, col);
    if (row == 0) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(HeaderAlignment(grid->Alignment(col)));
        table->setHorizontalHeaderItem(col, item);
        return;
    }
    QTableWidgetItem* item = table->item(row - 1, col);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table->setItem(row - 1, col, item);
    }
    item->setText(text);
    item->setTextAlignment(CellAlignment(grid->Alignment(col), text));
}

void ShowCurrentCell(QTableWidget* table, const Grid* grid)
{
    if (grid->Row() < 1) {
        table->setCurrentItem(nullptr);
        return;
    }
    if (table->currentRow() != grid->Row() - 1 || table->currentColumn() != grid->Col())
        table->setCurrentCell(grid->Row() - 1, grid->Col());
}

void ShowTopRow(QTableWidget* table, const Grid* grid)
{
    QScrollBar* bar = table->verticalScrollBar();
    if (bar->value() != grid->TopRow() - 1)
        bar->setValue(grid->TopRow() - 1);
}

void ShowGrid(QTableWidget* table, const Grid* grid)
{
    const QSignalBlocker quiet(table);
    table->clear();
    table->setColumnCount(grid->Cols());
    table->setRowCount(grid->Rows() - 1);
    for (int row = 0; row < grid->Rows(); ++row) {
        for (int col = 0; col < grid->Cols(); ++col)
            ShowCell(table, grid, row, col);
    }
    for (int col = 0; col < grid->Cols(); ++col)
        ShowColumnWidth(table, col, grid->ColumnWidth(col));
    ShowCurrentCell(table, grid);
    ShowTopRow(table, grid);
}

bool IsEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

Control* ControlOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant mark = w->property(kControlProperty);
        if (mark.isValid())
            return qobject_cast<Control*>(mark.value<QObject*>());
        if (w->isWindow())
            break;
    }
    return nullptr;
}

void Bind(QLineEdit* edit, TextField* field)
{
    FollowState(edit, field);
    edit->setMaxLength(field->MaxLength() > 0 ? field->MaxLength() : 32767);
    edit->setReadOnly(field->IsLocked());
    edit->setText(field->Text());
    QObject::connect(field, &TextField::textChanged, edit, [edit](const QString& text) {
        if (edit->text() != text)
            edit->setText(text);
    });
    QObject::connect(field, &TextField::maxLengthChanged, edit,
                     [edit](int length) { edit->setMaxLength(length > 0 ? length : 32767); });
    QObject::connect(field, &TextField::lockedChanged, edit, &QLineEdit::setReadOnly);
    QObject::connect(edit, &QLineEdit::textChanged, field, &TextField::SetText);
    SelectAllOnFocus(edit, field);
}

void Bind(QComboBox* combo, Picker* picker)
{
    FollowState(combo, picker);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Completion would add text the user did not type.
    combo->setCompleter(nullptr);
    ShowPickerRows(combo, picker);
    QObject::connect(picker, &Picker::rowsChanged, combo, [combo, picker] { ShowPickerRows(combo, picker); });
    QObject::connect(picker, &Picker::textChanged, combo, [combo, picker] { ShowPickerText(combo, picker); });
    QObject::connect(combo, &QComboBox::editTextChanged, picker, &Picker::SetText);
    QObject::connect(combo, &QComboBox::activated, picker, &Picker::Choose);
}

void Bind(const QList<QRadioButton*>& radios, OptionGroup* group)
{
    const auto showAll = [radios, group] {
        for (int i = 0; i < radios.size(); ++i)
            ShowOption(radios[i], group, i);
        ShowSelection(radios, group);
    };
    for (int i = 0; i < radios.size(); ++i) {
        QRadioButton* radio = radios[i];
        MarkWidget(radio, group);
        QObject::connect(group, &OptionGroup::optionChanged, radio, [radio, group, i](int index) {
            if (index == i)
                ShowOption(radio, group, i);
        });
        QObject::connect(radio, &QRadioButton::toggled, group, [group, i](bool checked) {
            if (checked)
                group->Select(i);
        });
        QObject::connect(radio, &QRadioButton::clicked, group, [group, i] { group->Click(i); });
    }
    showAll();
    QObject::connect(group, &OptionGroup::optionsChanged, radios.value(0), showAll);
    QObject::connect(group, &Control::enabledChanged, radios.value(0), showAll);
    QObject::connect(group, &Control::visibleChanged, radios.value(0), showAll);
    QObject::connect(group, &OptionGroup::selectedChanged, radios.value(0),
                     [radios, group] { ShowSelection(radios, group); });
}

void Bind(QCheckBox* box, CheckBox* check)
{
    FollowState(box, check);
    box->setText(check->Caption());
    box->setChecked(check->IsChecked());
    QObject::connect(check, &CheckBox::captionChanged, box, &QCheckBox::setText);
    QObject::connect(check, &CheckBox::checkedChanged, box, [box](bool checked) {
        if (box->isChecked() != checked)
            box->setChecked(checked);
    });
    QObject::connect(box, &QCheckBox::toggled, check, &CheckBox::SetChecked);
    QObject::connect(box, &QCheckBox::clicked, check, &CheckBox::ClickTo);
}

void Bind(QPushButton* button, Button* model)
{
    FollowState(button, model);
    button->setText(model->Caption());
    button->setDefault(model->IsDefault());
    QObject::connect(model, &Button::captionChanged, button, &QPushButton::setText);
    QObject::connect(model, &Button::defaultChanged, button, &QPushButton::setDefault);
    QObject::connect(button, &QPushButton::clicked, model, [model] { model->Click(); });
}

QPushButton* DialogButton(const char* name, Button& model)
{
    auto* button = new QPushButton;
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    Bind(button, &model);
    return button;
}

void Bind(QLabel* label, Label* model)
{
    FollowState(label, model);
    label->setText(model->Caption());
    QObject::connect(model, &Label::captionChanged, label, &QLabel::setText);
}

void Bind(QTableWidget* table, Grid* grid)
{
    FollowState(table, grid);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // Tab leaves the grid for the next field, as everywhere on a screen.
    table->setTabKeyNavigation(false);
    table->verticalHeader()->hide();
    ShowGrid(table, grid);

    QObject::connect(grid, &Grid::reset, table, [table, grid] { ShowGrid(table, grid); });
    QObject::connect(grid, &Grid::cellChanged, table,
                     [table, grid](int row, int col) { ShowCell(table, grid, row, col); });
    QObject::connect(grid, &Grid::columnWidthChanged, table,
                     [table](int col, int twips) { ShowColumnWidth(table, col, twips); });
    QObject::connect(grid, &Grid::currentCellChanged, table, [table, grid] { ShowCurrentCell(table, grid); });
    QObject::connect(grid, &Grid::topRowChanged, table, [table, grid] { ShowTopRow(table, grid); });

    QObject::connect(table, &QTableWidget::currentCellChanged, grid, [grid](int row, int col) {
        if (row >= 0 && col >= 0)
            grid->SetCurrentCell(row + 1, col);
    });
    QObject::connect(table->verticalScrollBar(), &QScrollBar::valueChanged, grid,
                     [grid](int value) { grid->SetTopRow(value + 1); });
    QObject::connect(table, &QTableWidget::cellDoubleClicked, grid, [grid] { grid->Activate(); });
    new EventHook(table, [grid](QEvent* event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsEnterKey(key->key())) {
            grid->Activate();
            return true;
        }
        const QString text = key->text();
        if (text.isEmpty() || !text.at(0).isPrint())
            return false;
        // Typing never searches the grid, it only reaches the screen.
        grid->TypeKey(text);
        return true;
    });
}

void Bind(QTableView* view, ResultGrid* grid)
{
    FollowState(view, grid);
    auto* model = new ResultGridModel(grid, view);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);

    const auto showCurrentRow = [view, model, grid] {
        const QModelIndex current = grid->Row() > 0 ? model->index(grid->Row() - 1, 0) : QModelIndex();
        if (view->currentIndex().row() != current.row())
            view->setCurrentIndex(current);
    };
    const auto showWidths = [view, grid] {
        for (int col = 0; col < grid->Cols(); ++col)
            ShowColumnWidth(view, col, grid->ColumnWidth(col));
    };
    showWidths();
    showCurrentRow();
    QObject::connect(grid, &ResultGrid::reset, view, showWidths);
    QObject::connect(grid, &ResultGrid::currentRowChanged, view, showCurrentRow);
    QObject::connect(grid, &ResultGrid::columnWidthChanged, view,
                     [view](int col, int twips) { ShowColumnWidth(view, col, twips); });
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, grid,
                     [grid](const QModelIndex& current) {
                         if (current.isValid())
                             grid->SetRow(current.row() + 1);
                     });
    QObject::connect(view, &QTableView::doubleClicked, grid, [grid] { grid->Activate(); });
    // Backspace and typed characters go to the grid's logic as key codes
    // (letters upper-cased); typing never searches the view itself. Other
    // keys (arrows, Enter for the default button) keep their usual work.
    new EventHook(view, [grid](QEvent* event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Backspace) {
            grid->KeyDown(8);
            return true;
        }
        const QString text = key->text();
        if (text.isEmpty() || !text.at(0).isPrint())
            return false;
        grid->KeyDown(text.at(0).toUpper().unicode());
        return true;
    });
}

void Bind(QTabWidget* tabs, Tabs* model)
{
    FollowState(tabs, model);
    const auto showCaptions = [tabs, model] {
        for (int i = 0; i < tabs->count() && i < model->Count(); ++i)
            tabs->setTabText(i, model->Caption(i));
    };
    showCaptions();
    tabs->setCurrentIndex(model->Current());
    QObject::connect(model, &Tabs::captionsChanged, tabs, showCaptions);
    // The page the model shows now, not the one the change carried: logic
    // reacting to a switch may already have switched back.
    QObject::connect(model, &Tabs::currentChanged, tabs, [tabs, model] {
        if (tabs->currentIndex() != model->Current())
            tabs->setCurrentIndex(model->Current());
    });
    QObject::connect(tabs, &QTabWidget::currentChanged, model, &Tabs::SetCurrent);
}

void Bind(QDateTimeEdit* edit, DateTimePicker* picker)
{
    FollowState(edit, picker);
    const auto showFormat = [edit](const QString& format) {
        if (!format.isEmpty())
            edit->setDisplayFormat(format);
    };
    const auto showMax = [edit](const QDateTime& maxDate) {
        edit->setMaximumDateTime(maxDate.isValid() ? maxDate : QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)));
    };
    showFormat(picker->DisplayFormat());
    showMax(picker->MaxDate());
    if (picker->Value().isValid())
        edit->setDateTime(picker->Value());
    QObject::connect(picker, &DateTimePicker::displayFormatChanged, edit, showFormat);
    QObject::connect(picker, &DateTimePicker::maxDateChanged, edit, showMax);
    QObject::connect(picker, &DateTimePicker::valueChanged, edit, [edit](const QDateTime& value) {
        if (value.isValid() && edit->dateTime() != value)
            edit->setDateTime(value);
    });
    QObject::connect(edit, &QDateTimeEdit::dateTimeChanged, picker, &DateTimePicker::SetValue);
}

} // namespace forms
