#pragma once

#include "forms/Dialogs.h"

#include <QStringList>

#include <functional>
#include <map>
#include <stdexcept>
#include <typeindex>

namespace testing_support {

// A dialog host for tests: for each kind of dialog a script plays what the
// user does inside (pick row 2, type a password, press a button). A script
// that leaves the dialog open ends like the close box. A dialog without a
// script throws, so an unexpected dialog fails the test.
class ScriptedDialogHost : public forms::DialogHost {
public:
    template <class Dialog>
    ScriptedDialogHost& On(std::function<void(Dialog&)> script)
    {
        scripts_[typeid(Dialog)] = [script](forms::DialogLogic& dialog) { script(static_cast<Dialog&>(dialog)); };
        return *this;
    }

    forms::DialogResult Run(forms::DialogLogic& dialog) override
    {
        const auto script = scripts_.find(typeid(dialog));
        if (script == scripts_.end())
            throw std::logic_error(std::string("Unexpected dialog: ") + dialog.metaObject()->className());
        opened_ << QString::fromLatin1(dialog.metaObject()->className());
        dialog.BeginRun();
        script->second(dialog);
        if (dialog.IsOpen())
            dialog.CloseBoxPressed();
        return dialog.Result();
    }

    // The class names of the dialogs run, in order.
    const QStringList& Opened() const { return opened_; }

private:
    std::map<std::type_index, std::function<void(forms::DialogLogic&)>> scripts_;
    QStringList opened_;
};

} // namespace testing_support
