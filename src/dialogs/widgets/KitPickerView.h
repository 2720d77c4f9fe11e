#pragma once

#include <QDialog>
#include <memory>

namespace dialogs {

class KitPicker;

// The window of the kit picker.
std::unique_ptr<QDialog> MakeKitPickerView(KitPicker& dialog, QWidget* parent);

} // namespace dialogs
