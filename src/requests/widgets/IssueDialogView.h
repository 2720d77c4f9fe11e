#pragma once

#include <QDialog>
#include <memory>

namespace requests {

class IssueDialog;

// The window of the store's issue of a request.
std::unique_ptr<QDialog> MakeIssueDialogView(IssueDialog& dialog, QWidget* parent);

} // namespace requests
