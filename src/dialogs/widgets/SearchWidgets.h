#pragma once

class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace dialogs {

class SearchDialog;

// The widgets both search dialogs show, bound to the dialog's models: the
// search box (typing arrives upper-cased), its button with a picture, and
// the grid of the rows found.
struct SearchWidgets {
    QLineEdit* search;
    QPushButton* searchButton;
    QTableView* grid;
};
SearchWidgets MakeSearchWidgets(SearchDialog& dialog, QWidget* window);

} // namespace dialogs
