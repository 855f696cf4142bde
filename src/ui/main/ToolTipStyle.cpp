#include "ToolTipStyle.h"

CToolTipStyle::CToolTipStyle(int initialDelayMs, QObject* owner) : m_nInitialDelayMs(initialDelayMs)
{
    setParent(owner);
}

int CToolTipStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* returnData) const
{
    if (hint == SH_ToolTip_WakeUpDelay)
        return m_nInitialDelayMs;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
