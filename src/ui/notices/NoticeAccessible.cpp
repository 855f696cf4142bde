#include "ui/notices/NoticeAccessible.h"

#include "ui/controls/ColorEdit.h"

#include <mutex>

namespace {

QAccessibleInterface* Factory(const QString&, QObject* object)
{
    if (object && object->isWidgetType() && object->objectName() == QLatin1String(CNoticeAccessible::kClientName))
        return new CNoticeAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

CNoticeAccessible::CNoticeAccessible(QWidget* client) : QAccessibleWidget(client, QAccessible::StaticText) {}

void CNoticeAccessible::Install()
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(Factory); });
}

QList<QWidget*> CNoticeAccessible::Shown() const
{
    QList<QWidget*> shown;
    for (QObject* child : widget()->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && !w->isWindow() && !qobject_cast<CColorEdit*>(w))
            shown.append(w);
    }
    return shown;
}

int CNoticeAccessible::childCount() const
{
    return int(Shown().size());
}

QAccessibleInterface* CNoticeAccessible::child(int index) const
{
    const QList<QWidget*> shown = Shown();
    return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown[index]) : nullptr;
}

int CNoticeAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child ? int(Shown().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
}
