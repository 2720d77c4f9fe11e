#pragma once

#include "forms/Control.h"

#include <QStringList>

namespace forms {

// A tab control: one caption per page and the page showing.
class Tabs : public Control {
    Q_OBJECT
public:
    explicit Tabs(QObject* parent = nullptr);
    explicit Tabs(const QStringList& captions, QObject* parent = nullptr);

    const QStringList& Captions() const { return captions_; }
    void SetCaptions(const QStringList& captions);
    int Count() const { return int(captions_.size()); }
    QString Caption(int index) const { return captions_.value(index); }
    void SetCaption(int index, const QString& caption);

    int Current() const { return current_; }
    // Shows a page; out-of-range indexes and the page already showing do
    // nothing. currentChanged carries the page left and the page shown, so
    // screen logic can act on one direction of the switch only.
    void SetCurrent(int index);

signals:
    void captionsChanged();
    void currentChanged(int previous, int current);

private:
    QStringList captions_;
    int current_ = 0;
};

} // namespace forms
