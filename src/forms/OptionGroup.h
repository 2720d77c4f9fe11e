#pragma once

#include "forms/Control.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace forms {

// A set of options of which at most one is selected. Each option has its
// own caption, enabled and visible state; the group's own enabled and
// visible apply on top of them.
class OptionGroup : public Control {
    Q_OBJECT
public:
    explicit OptionGroup(QObject* parent = nullptr);
    explicit OptionGroup(const QStringList& captions, QObject* parent = nullptr);

    int Count() const { return int(options_.size()); }
    // Replaces the options; the selection is cleared.
    void SetOptions(const QStringList& captions);

    QString Caption(int index) const;
    void SetCaption(int index, const QString& caption);
    bool IsOptionEnabled(int index) const;
    void SetOptionEnabled(int index, bool enabled);
    bool IsOptionVisible(int index) const;
    void SetOptionVisible(int index, bool visible);
    // Enabled and visible, both the option and the group.
    bool CanSelect(int index) const;

    // The selected option, -1 for none.
    int Selected() const { return selected_; }
    bool IsSelected(int index) const { return selected_ == index; }
    // Selects an option from code, whatever its state (as setting an
    // option's value does); -1 clears the selection.
    void Select(int index);
    // The user clicks an option: selects it when it can be selected, then
    // reports the click. Returns false when the click could not happen.
    bool Click(int index);

signals:
    void optionsChanged();
    void optionChanged(int index);
    void selectedChanged(int index);
    void clicked(int index);

private:
    struct Option {
        QString caption;
        bool enabled = true;
        bool visible = true;
    };
    bool InRange(int index) const { return index >= 0 && index < options_.size(); }

    QList<Option> options_;
    int selected_ = -1;
};

} // namespace forms
