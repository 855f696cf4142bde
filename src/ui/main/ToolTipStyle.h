// The style the main window gives its input controls so that their tooltips appear after the
// window's own short delay instead of the platform's; everything else is the application style.
#pragma once

#include <QProxyStyle>

class CToolTipStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit CToolTipStyle(int initialDelayMs, QObject* owner);

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

private:
    int m_nInitialDelayMs;
};
