#pragma once

#include <QDialog>
#include <memory>

namespace dialogs {

class SupervisorPassword;

// The window of the supervisor authorisation dialog.
std::unique_ptr<QDialog> MakeSupervisorPasswordView(SupervisorPassword& dialog, QWidget* parent);

} // namespace dialogs
