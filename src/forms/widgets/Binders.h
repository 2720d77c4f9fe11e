#pragma once

#include <QList>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class QTableWidget;
class QWidget;

namespace forms {

class Button;
class CheckBox;
class DateTimePicker;
class Control;
class Grid;
class Label;
class OptionGroup;
class Picker;
class ResultGrid;
class Tabs;
class TextField;

// One binder per control kind: the widget takes the model's state at once
// and follows every change; what the user does in the widget goes back to
// the model. The connections live as long as both ends, so a binder needs
// no object of its own. A change never echoes back: both sides only act on
// a value that differs from what they hold.
//
// Enabled and visible flow from the model to the widget only, so a widget
// hidden with its tab page leaves the model visible.
//
// Each binder also marks the widget with its model, which is how the focus
// sync finds the control behind a focused widget.
void Bind(QLineEdit* edit, TextField* field);
// The combo box is made editable: the picker's text can be typed.
void Bind(QComboBox* combo, Picker* picker);
// Radio button i shows option i.
void Bind(const QList<QRadioButton*>& radios, OptionGroup* group);
void Bind(QCheckBox* box, CheckBox* check);
void Bind(QPushButton* button, Button* model);
void Bind(QLabel* label, Label* model);
// The header row becomes the table's horizontal header, grid row r the
// table's row r - 1. Cells are read-only; Enter and a double click open the
// current row (Grid::activated), typed characters go to Grid::keyTyped.
void Bind(QTableWidget* table, Grid* grid);
// The rows the grid has read fill the view; scrolling towards the end reads
// more. A double click opens the current row; Backspace and typed
// characters reach the grid as key codes.
void Bind(QTableView* view, ResultGrid* grid);
// The pages already exist in the tab widget; the binder sets their captions
// and keeps the page showing in step.
void Bind(QTabWidget* tabs, Tabs* model);
// The edit shows the picker's pattern and cannot go past its upper bound.
void Bind(QDateTimeEdit* edit, DateTimePicker* picker);

// A dialog's push button, named and bound to its model. Only the button
// that the logic makes the default answers Enter (no automatic default).
QPushButton* DialogButton(const char* name, Button& model);

// The control model a widget (or the nearest of its parents) was bound to.
Control* ControlOf(const QWidget* widget);

} // namespace forms
