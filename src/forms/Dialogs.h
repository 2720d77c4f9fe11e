#pragma once

#include <QObject>
#include <QString>

namespace forms {

enum class DialogResult { Accepted, Rejected };

// The logic of a modal dialog (product search, kit picker, supervisor
// password...): its control models and actions, like a screen's. It ends
// its run by calling Close from one of its actions; the host then closes
// whatever shows it.
class DialogLogic : public QObject {
    Q_OBJECT
public:
    explicit DialogLogic(QObject* parent = nullptr);

    bool IsOpen() const { return open_; }
    DialogResult Result() const { return result_; }

    // Ends the run with this result (from the dialog's own buttons).
    void Close(DialogResult result);

    // Hooks for hosts: the run begins, and the user closed the dialog with
    // the window's close box or Escape. The default close-box action closes
    // as rejected; a dialog that must note the refusal overrides it.
    void BeginRun();
    virtual void CloseBoxPressed() { Close(DialogResult::Rejected); }

signals:
    void closeRequested(forms::DialogResult result);

private:
    bool open_ = false;
    DialogResult result_ = DialogResult::Rejected;
};

// The port through which screens run a dialog modally: Run returns when the
// dialog has closed. The widgets side shows the dialog's view; tests play
// what the user does inside.
class DialogHost {
public:
    virtual ~DialogHost() = default;
    virtual DialogResult Run(DialogLogic& dialog) = 0;
};

} // namespace forms
