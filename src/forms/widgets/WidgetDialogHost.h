#pragma once

#include "forms/Dialogs.h"

#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <typeindex>

class QDialog;
class QWidget;

namespace forms {

// Runs dialogs on real windows: each kind of dialog logic has a view
// factory that builds its QDialog (binding the widgets to the logic's
// models). The view closes when the logic closes; the close box or Escape
// reaches the logic as CloseBoxPressed.
class WidgetDialogHost : public DialogHost {
public:
    explicit WidgetDialogHost(QWidget* parent = nullptr);

    template <class Dialog>
    using ViewFactory = std::function<std::unique_ptr<QDialog>(Dialog& dialog, QWidget* parent)>;

    template <class Dialog>
    void Register(ViewFactory<Dialog> makeView)
    {
        factories_[typeid(Dialog)] = [makeView](DialogLogic& dialog, QWidget* parent) {
            return makeView(static_cast<Dialog&>(dialog), parent);
        };
    }

    // Throws std::logic_error for a dialog kind without a view.
    DialogResult Run(DialogLogic& dialog) override;

private:
    using AnyFactory = std::function<std::unique_ptr<QDialog>(DialogLogic&, QWidget*)>;
    std::map<std::type_index, AnyFactory> factories_;
    QPointer<QWidget> parent_;
};

} // namespace forms
