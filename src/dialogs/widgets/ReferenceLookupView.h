#pragma once

#include <QDialog>
#include <memory>

namespace dialogs {

class ReferenceLookup;

// The window of the reference lookup.
std::unique_ptr<QDialog> MakeReferenceLookupView(ReferenceLookup& dialog, QWidget* parent);

} // namespace dialogs
