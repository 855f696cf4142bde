// Static control showing a styled bitmap from an ordered list of slots (slot 0 is painted) over
// either the parent's pixels or a fill of its background colour, which follows the system's
// button-face colour.
#pragma once

#include "ui/controls/Colors.h"
#include "ui/controls/StyledBitmap.h"

#include <QBrush>
#include <QWidget>
#include <memory>
#include <vector>

class CBitmapExCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CBitmapExCtrl(QWidget* parent = nullptr);
    ~CBitmapExCtrl() override;

    // Loads bitmap resource `id` into slot `index`, growing the list with empty slots as
    // needed; the slot takes the control's flags and colours. Nothing is redrawn.
    bool LoadBitmapResource(uint id, int index);

    // Each setter writes its value into every slot; none requests a repaint.
    void SetDrawFlags(quint32 flags);
    void SetBackgroundColor(COLORREF cr);
    void SetTransparentColor(COLORREF cr);
    quint32 DrawFlags() const { return m_dwDrawFlags; }
    COLORREF BackgroundColor() const { return m_crBackground; }
    COLORREF TransparentColor() const { return m_crTransparent; }
    const QBrush& BackgroundBrush() const { return m_brushBackground; }

    int SlotCount() const { return int(m_slots.size()); }
    // The slot object, or null for an empty slot or an index outside the list.
    const CStyledBitmap* Slot(int index) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    template <typename Apply> void ForEachSlot(Apply apply);

    COLORREF m_crBackground;
    std::vector<std::unique_ptr<CStyledBitmap>> m_slots;
    QBrush m_brushBackground;
    quint32 m_dwDrawFlags = 0;
    COLORREF m_crTransparent = RGB(255, 255, 255);
};
