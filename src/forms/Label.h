#pragma once

#include "forms/Control.h"

#include <QString>

namespace forms {

// A caption on the screen; it never takes the focus.
class Label : public Control {
    Q_OBJECT
public:
    explicit Label(QObject* parent = nullptr);
    explicit Label(const QString& caption, QObject* parent = nullptr);

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);

signals:
    void captionChanged(const QString& caption);

private:
    QString caption_;
};

} // namespace forms
