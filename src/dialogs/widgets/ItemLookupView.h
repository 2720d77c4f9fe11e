#pragma once

#include <QDialog>
#include <memory>

namespace dialogs {

class ItemLookup;

// The window of the product search.
std::unique_ptr<QDialog> MakeItemLookupView(ItemLookup& dialog, QWidget* parent);

} // namespace dialogs
