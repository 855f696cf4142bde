#include "ui/controls/GradientBarAccessible.h"

#include "ui/controls/GradientBarCtrl.h"

#include <mutex>

namespace {

QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    if (className == QLatin1String(CGradientBarCtrl::staticMetaObject.className()) && object
        && object->isWidgetType())
        return new CGradientBarAccessible(static_cast<CGradientBarCtrl*>(object));
    return nullptr;
}

} // namespace

CGradientBarAccessible::CGradientBarAccessible(CGradientBarCtrl* bar)
    : QAccessibleWidget(bar, QAccessible::ProgressBar)
{
}

void CGradientBarAccessible::Install()
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(Factory); });
}

const CGradientBarCtrl* CGradientBarAccessible::Bar() const
{
    return static_cast<const CGradientBarCtrl*>(object());
}

QAccessible::State CGradientBarAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.busy = Bar()->Sweeping();
    return s;
}

QString CGradientBarAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value && !Bar()->Sweeping())
        return QStringLiteral("%1%").arg(Bar()->Percent());
    return QAccessibleWidget::text(t);
}

void* CGradientBarAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant CGradientBarAccessible::currentValue() const
{
    return Bar()->Sweeping() ? 0 : Bar()->Percent();
}

QVariant CGradientBarAccessible::maximumValue() const
{
    return Bar()->Sweeping() ? 0 : 100;
}

QVariant CGradientBarAccessible::minimumValue() const
{
    return 0;
}

QVariant CGradientBarAccessible::minimumStepSize() const
{
    return 1;
}
