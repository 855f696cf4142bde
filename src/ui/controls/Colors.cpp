// Conversion between stored colour values and Qt colours; system colours from the palette.
#include "ui/controls/Colors.h"

#include <QGuiApplication>
#include <QPalette>

QRgb ToQRgb(COLORREF cr)
{
    return qRgb(RedOf(cr), GreenOf(cr), BlueOf(cr));
}

COLORREF FromQRgb(QRgb rgb)
{
    return ColorRef(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

QColor ToQColor(COLORREF cr)
{
    return QColor(ToQRgb(cr));
}

COLORREF FromQColor(const QColor& color)
{
    return FromQRgb(color.rgb());
}

COLORREF SysColorBtnFace()
{
    return FromQColor(QGuiApplication::palette().color(QPalette::Active, QPalette::Button));
}

COLORREF SysColorBtnText()
{
    return FromQColor(QGuiApplication::palette().color(QPalette::Active, QPalette::ButtonText));
}
