#include "forms/widgets/WidgetDialogHost.h"

#include <QDialog>

#include <stdexcept>

namespace forms {

WidgetDialogHost::WidgetDialogHost(QWidget* parent) : parent_(parent) {}

DialogResult WidgetDialogHost::Run(DialogLogic& dialog)
{
    const auto factory = factories_.find(typeid(dialog));
    if (factory == factories_.end())
        throw std::logic_error(std::string("No view for dialog: ") + dialog.metaObject()->className());
    dialog.BeginRun();
    const std::unique_ptr<QDialog> view = factory->second(dialog, parent_);
    QObject::connect(&dialog, &DialogLogic::closeRequested, view.get(), [&view](DialogResult result) {
        view->done(result == DialogResult::Accepted ? QDialog::Accepted : QDialog::Rejected);
    });
    // The logic may have closed already while the view was built.
    if (dialog.IsOpen())
        view->exec();
    if (parent_)
        parent_->window()->activateWindow();
    if (dialog.IsOpen())
        dialog.CloseBoxPressed();
    // A close-box action that refuses to close cannot keep a window that
    // has gone: the run ends rejected.
    if (dialog.IsOpen())
        dialog.Close(DialogResult::Rejected);
    return dialog.Result();
}

} // namespace forms
