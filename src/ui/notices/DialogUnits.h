// Dialog units to pixels for a dialog font: the rule the window templates were designed with
// (a horizontal unit is a quarter of the font's average letter width, a vertical unit an eighth
// of its character height).
#pragma once

#include <QFont>
#include <QRect>

class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);

    // What the templates' "MS Shell Dlg" font becomes here: the platform's default UI font at
    // the template's point size; for Japanese texts a proportional Japanese gothic comes first,
    // as on a Japanese system, whose dialog font it is. Its own letters give the units, so every
    // Japanese line fits the room its template gives, whatever the system's usual font.
    static QFont TemplateFont(int pointSize, quint16 language);

    // Base units in pixels: average width of the 52 Latin letters (rounded), character height.
    int BaseX() const { return m_nBaseX; }
    int BaseY() const { return m_nBaseY; }

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    // Position and size are converted separately, as controls are created from a template.
    QRect ToPixels(int x, int y, int width, int height) const;

private:
    int m_nBaseX;
    int m_nBaseY;
};
