#include "forms/BusyCursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace forms {

namespace {

int depth = 0;
int timesShown = 0;

bool HasGuiApplication()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

BusyCursor::BusyCursor()
{
    if (depth++ > 0)
        return;
    ++timesShown;
    if (HasGuiApplication())
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor()
{
    if (--depth > 0)
        return;
    if (HasGuiApplication())
        QGuiApplication::restoreOverrideCursor();
}

int BusyCursor::Depth()
{
    return depth;
}

int BusyCursor::TimesShown()
{
    return timesShown;
}

} // namespace forms
