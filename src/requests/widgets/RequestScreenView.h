#pragma once

#include <QMainWindow>
#include <QList>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpacerItem;

namespace forms {
class Button;
class Control;
class FocusSync;
class OptionGroup;
class TextField;
} // namespace forms

namespace requests {

class RequestScreen;

// The request screen's window: a header with the two location pickers, the
// List and Details tabs, and the action row, every widget bound to its model
// on the screen. The window holds no behaviour of its own; it only lays the
// controls out and closes when the screen asks.
//
// Each widget carries its control's name as object name, so tests and
// accessibility tools can find it.
class RequestScreenView : public QMainWindow {
    Q_OBJECT
public:
    explicit RequestScreenView(RequestScreen& screen, QWidget* parent = nullptr);
    ~RequestScreenView() override;

protected:
    void showEvent(QShowEvent* event) override;
    // The close box and the desktop's log-out ask as Exit does while a
    // request has unsaved lines; No keeps the window.
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildHeader();
    QWidget* BuildTabs();
    void FillListPage(QWidget* page);
    void FillDetailsPage(QWidget* page);
    QWidget* BuildItemEntry(QWidget* parent);
    QWidget* BuildActionRow();
    void FollowChainTabOrder();
    void PlaceRetailOptions();

    // Widget makers: each builds the widget in its parent, names it and
    // binds it. The parent comes first: a bound widget without one would
    // show as a window of its own.
    QLineEdit* Entry(const char* name, forms::TextField& field, QWidget* parent);
    QLineEdit* Display(const char* name, forms::TextField& field, QWidget* parent);
    QPushButton* Push(const char* name, forms::Button& model, QWidget* parent);
    QList<QRadioButton*> Radios(const char* name, forms::OptionGroup& group, QWidget* parent);

    void BuildStatusLine();
    void AskAtLogOut();

    RequestScreen& screen_;
    forms::FocusSync* focusSync_ = nullptr;
    // Set once closing was agreed to (Exit, or the log-out's question), so
    // the close that follows does not ask again.
    bool closeAgreed_ = false;
    // The retail options sit in the field column unless the site wants them
    // straight after their (shorter) label; an indent after the label makes
    // the difference.
    QGridLayout* itemGrid_ = nullptr;
    QLabel* retailLabel_ = nullptr;
    QSpacerItem* retailIndent_ = nullptr;
    QList<QLabel*> itemLabelColumn_;
};

} // namespace requests
