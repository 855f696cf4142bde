// The bitmap control's slots and painting.
#include "ui/controls/BitmapExCtrl.h"

#include <QEvent>
#include <QPainter>

namespace {
// What a new slot object starts with before it takes the control's attributes.
constexpr quint32 kSlotFlags = 0;
constexpr COLORREF kSlotTransparent = RGB(255, 255, 255);
constexpr COLORREF kSlotBackground = RGB(0, 0, 0);
} // namespace

CBitmapExCtrl::CBitmapExCtrl(QWidget* parent)
    : QWidget(parent)
    , m_crBackground(SysColorBtnFace())
    , m_brushBackground(ToQColor(m_crBackground))
{
    // The control never erases: what it does not paint keeps the parent's pixels, which is
    // exactly what the transparent mode shows behind the bitmap.
    setAutoFillBackground(false);
}

CBitmapExCtrl::~CBitmapExCtrl() = default;

template <typename Apply> void CBitmapExCtrl::ForEachSlot(Apply apply)
{
    for (const auto& slot : m_slots) {
        if (slot)
            apply(*slot);
    }
}

bool CBitmapExCtrl::LoadBitmapResource(uint id, int index)
{
    if (index < 0)
        return false;
    if (size_t(index) >= m_slots.size())
        m_slots.resize(size_t(index) + 1);
    // A slot left empty by an earlier growth is filled as well.
    auto& slot = m_slots[size_t(index)];
    if (!slot)
        slot = std::make_unique<CStyledBitmap>(kSlotFlags, kSlotTransparent, kSlotBackground);
    if (!slot->LoadFromResource(id))
        return false;
    slot->SetTransparentColor(m_crTransparent);
    slot->SetDrawFlags(m_dwDrawFlags);
    slot->SetBackgroundColor(m_crBackground);
    return true;
}

void CBitmapExCtrl::SetDrawFlags(quint32 flags)
{
    m_dwDrawFlags = flags;
    ForEachSlot([flags](CStyledBitmap& slot) { slot.SetDrawFlags(flags); });
}

void CBitmapExCtrl::SetBackgroundColor(COLORREF cr)
{
    if (cr == m_crBackground)
        return;
    m_crBackground = cr;
    ForEachSlot([cr](CStyledBitmap& slot) { slot.SetBackgroundColor(cr); });
    m_brushBackground = QBrush(ToQColor(cr));
}

void CBitmapExCtrl::SetTransparentColor(COLORREF cr)
{
    m_crTransparent = cr;
    ForEachSlot([cr](CStyledBitmap& slot) { slot.SetTransparentColor(cr); });
}

const CStyledBitmap* CBitmapExCtrl::Slot(int index) const
{
    if (index < 0 || size_t(index) >= m_slots.size())
        return nullptr;
    return m_slots[size_t(index)].get();
}

QSize CBitmapExCtrl::sizeHint() const
{
    const CStyledBitmap* first = Slot(0);
    return first && first->HasBitmap() ? first->Image().size() : QWidget::sizeHint();
}

void CBitmapExCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect client = rect();
    // Under BMX_TRANSPARENT the parent's pixels are already behind the control: it paints
    // nothing of its own there.
    if (m_dwDrawFlags & BMX_FILLBACK)
        painter.fillRect(client, m_brushBackground);
    if (const CStyledBitmap* first = Slot(0))
        first->Draw(&painter, 0, 0, client.width(), client.height());
}

void CBitmapExCtrl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // A change of the system's colours reaches a widget as a palette change: follow the
    // button-face colour (a change of the parent's palette alone leaves it as it is).
    if (event->type() == QEvent::PaletteChange)
        SetBackgroundColor(SysColorBtnFace());
}
