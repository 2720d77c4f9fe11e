#include "forms/Dialogs.h"

namespace forms {

DialogLogic::DialogLogic(QObject* parent) : QObject(parent) {}

void DialogLogic::BeginRun()
{
    open_ = true;
    result_ = DialogResult::Rejected;
}

void DialogLogic::Close(DialogResult result)
{
    if (!open_)
        return;
    open_ = false;
    result_ = result;
    emit closeRequested(result);
}

} // namespace forms
