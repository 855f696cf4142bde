// Template placement, notice-layout pass and centring shared by the notice dialogs.
#include "ui/notices/NoticeDialog.h"

#include "base/MessageCatalog.h"
#include "ui/controls/ColorEdit.h"
#include "ui/controls/FrameCentring.h"
#include "ui/notices/NoticeAccessible.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTransform>
#include <QPushButton>
#include <QHideEvent>
#include <QShowEvent>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

Qt::WindowFlags FlagsFor(CNoticeDialog::Frame frame)
{
    if (frame == CNoticeDialog::Frame::BorderOnly) // a top-level window, so the system lists it
        return Qt::Window | Qt::FramelessWindowHint;
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint;
}

// The pixels a line takes from where it starts, its ink included. Blanks at its end take none:
// nothing of them shows (the Japanese caution heading ends in five).
int DrawnWidth(const QFontMetricsF& metrics, QString line)
{
    while (!line.isEmpty() && line.back().isSpace())
        line.chop(1);
    return int(std::ceil(std::max(metrics.horizontalAdvance(line), metrics.boundingRect(line).right())));
}

} // namespace

CNoticeDialog::CNoticeDialog(QSize templateUnits, Frame frame, QWidget* parent)
    : QDialog(parent, FlagsFor(frame))
    , m_client(new QWidget(this))
    , m_centring(new CFrameCentring(*this, CFrameCentring::Over::Owner))
    , m_templateUnits(templateUnits)
    , m_frame(frame)
    , m_units(CDialogUnits::TemplateFont(kTemplatePointSize, LanguageEnglishUs))
{
    m_client->setObjectName(QLatin1String(CNoticeAccessible::kClientName));
    CNoticeAccessible::Install();
}

QPushButton* CNoticeDialog::AddButton(int id, int x, int y, int width, int height, const QString& caption)
{
    auto* button = new QPushButton(caption, m_client);
    m_items.append({id, button, QRect(x, y, width, height), caption, false});
    return button;
}

CColorEdit* CNoticeDialog::AddText(int id, int x, int y, int width, int height, bool centered)
{
    auto* edit = new CColorEdit(m_client);
    edit->SetWordWrap(false); // a line ends only at a line break
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setFocusPolicy(Qt::NoFocus); // not a tab stop, nor an object a screen reader lands on
    m_items.append({id, edit, QRect(x, y, width, height), QString(), centered});
    return edit;
}

const CNoticeDialog::TemplateItem* CNoticeDialog::Find(int id) const
{
    for (const TemplateItem& item : m_items)
        if (item.id == id)
            return &item;
    return nullptr;
}

QWidget* CNoticeDialog::Item(int id) const
{
    const TemplateItem* item = Find(id);
    return item ? item->widget : nullptr;
}

CColorEdit* CNoticeDialog::Text(int id) const
{
    return qobject_cast<CColorEdit*>(Item(id));
}

QPushButton* CNoticeDialog::Button(int id) const
{
    return qobject_cast<QPushButton*>(Item(id));
}

int CNoticeDialog::BorderWidth() const
{
    return m_frame == Frame::BorderOnly ? 1 : 0;
}

QRect CNoticeDialog::ClientRect() const
{
    return m_client->geometry();
}

QRect CNoticeDialog::ItemRect(int id) const
{
    const QWidget* widget = Item(id);
    return widget ? widget->geometry() : QRect();
}

void CNoticeDialog::SetItemRect(int id, const QRect& clientRect)
{
    if (QWidget* widget = Item(id))
        widget->setGeometry(clientRect);
}

void CNoticeDialog::SetDialogWidth(int width)
{
    const int border = BorderWidth();
    setFixedSize(width, height());
    m_client->setGeometry(border, border, width - 2 * border, height() - 2 * border);
}

void CNoticeDialog::MoveItemBy(int id, int dx, int dy)
{
    SetItemRect(id, ItemRect(id).translated(dx, dy));
}

void CNoticeDialog::RestoreTemplate()
{
    // The font may have changed since the last showing (system settings); units follow it.
    setFont(CDialogUnits::TemplateFont(kTemplatePointSize, m_wLanguage));
    m_units = CDialogUnits(font());

    const int border = BorderWidth();
    const QSize client(m_units.ToPixelsX(m_templateUnits.width()), m_units.ToPixelsY(m_templateUnits.height()));
    setFixedSize(client.width() + 2 * border, client.height() + 2 * border);
    m_client->setGeometry(QRect(QPoint(border, border), client));
    for (const TemplateItem& item : m_items) {
        const QRect& u = item.units;
        SetItemRect(item.id, m_units.ToPixels(u.x(), u.y(), u.width(), u.height()));
        if (auto* button = qobject_cast<QPushButton*>(item.widget))
            button->setText(item.caption);
    }
}

void CNoticeDialog::ApplyNoticeLayout(const NoticeLayoutPlan& plan)
{
    const QFontMetricsF metrics(font());
    // Whole pixels that hold the line: glyphs stand at fractional positions, and a width rounded
    // down would cut the end of a line that is a fraction of a pixel longer than the reference.
    const auto measure = [&metrics](const char* line) {
        return int(std::ceil(metrics.horizontalAdvance(QString::fromUtf8(line))));
    };
    const auto rects = [this](const QVector<int>& ids) {
        QVector<QRect> out;
        for (int id : ids)
            out.append(ItemRect(id));
        return out;
    };

    NoticeLayoutInput in;
    in.referenceWidth = measure(plan.referenceLine);
    in.formattingWidth = Text(plan.measuredId)->FormattingRect().width();
    in.dialog = frameGeometry();
    in.measured = ItemRect(plan.measuredId);
    if (plan.secondMeasuredId != 0) {
        in.secondReferenceWidth = measure(plan.secondReferenceLine);
        in.secondFormattingWidth = Text(plan.secondMeasuredId)->FormattingRect().width();
        in.secondMeasured = ItemRect(plan.secondMeasuredId);
    }
    in.followers = rects(plan.followerIds);
    in.shifted = rects(plan.shiftedIds);

    const NoticeLayoutResult out = ComputeNoticeLayout(plan, in);

    // Width changes of the outer frame are width changes of the widget; the top-left stays.
    SetDialogWidth(width() + out.dialogSize.width() - in.dialog.width());
    SetItemRect(plan.measuredId, out.measured);
    if (plan.secondMeasuredId != 0)
        SetItemRect(plan.secondMeasuredId, out.secondMeasured);
    for (int i = 0; i < plan.followerIds.size(); ++i)
        SetItemRect(plan.followerIds[i], out.followers[i]);
    for (int i = 0; i < plan.shiftedIds.size(); ++i)
        SetItemRect(plan.shiftedIds[i], out.shifted[i]);
}

void CNoticeDialog::FitWidestLines()
{
    // The templates hold their texts in the font they were drawn for. In a font whose lines run
    // longer than its average letter suggests (another system's dialog font), a line would be cut
    // off; the notice widens instead by the most any text lacks. Every text gains that width and
    // every button moves by half of it, so the notice stays centred on its texts.
    int lack = 0;
    for (const TemplateItem& item : m_items) {
        const auto* edit = qobject_cast<const CColorEdit*>(item.widget);
        if (!edit)
            continue;
        const QFontMetricsF metrics(edit->font());
        const int room = edit->FormattingRect().width();
        for (QTextBlock block = edit->document()->begin(); block.isValid(); block = block.next())
            lack = std::max(lack, DrawnWidth(metrics, block.text()) - room);
    }
    m_widening = lack;
    if (lack == 0)
        return;
    SetDialogWidth(width() + lack);
    for (const TemplateItem& item : m_items) {
        const QRect rect = ItemRect(item.id);
        SetItemRect(item.id, qobject_cast<CColorEdit*>(item.widget) ? rect.adjusted(0, 0, lack, 0)
                                                                     : rect.translated(lack / 2, 0));
    }
}

void CNoticeDialog::AlignCenteredTexts()
{
    // A centred text with a line that does not fit starts at the left edge, as an edit control
    // does, so its beginning is never cut off (the Japanese caution heading ends in blanks that
    // make it wider than its control).
    for (const TemplateItem& item : m_items) {
        auto* edit = qobject_cast<CColorEdit*>(item.widget);
        if (!item.centered || !edit)
            continue;
        const QFontMetrics metrics(edit->font());
        bool fits = true;
        for (QTextBlock block = edit->document()->begin(); block.isValid(); block = block.next())
            fits = fits && metrics.horizontalAdvance(block.text()) <= edit->FormattingRect().width();
        QTextOption option = edit->document()->defaultTextOption();
        option.setAlignment(fits ? Qt::AlignHCenter : Qt::AlignLeft);
        edit->document()->setDefaultTextOption(option);
    }
}

void CNoticeDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) // shown again after minimising: nothing to rebuild
        return;
    // Every display starts from the template, so growth never accumulates. The children are
    // already visible here, so their text areas are measured at their real sizes.
    RestoreTemplate();
    OnInitDialog();
    FitWidestLines();
    AlignCenteredTexts();
    const QSize whole = WholeResizeSteps(size(), devicePixelRatioF());
    SetDialogWidth(whole.width());
    setFixedHeight(whole.height());
    m_client->resize(m_client->width(), whole.height() - 2 * BorderWidth());
    m_centring->Centre(); // at its final size
    DescribeForScreenReaders();
}

void CNoticeDialog::DescribeForScreenReaders()
{
    // A screen reader announces a dialog by its description: the notice's texts in template
    // order, as the eye reads them. The texts themselves are read-only edits it would skip.
    QStringList texts;
    for (const TemplateItem& item : m_items) {
        if (const auto* edit = qobject_cast<const CColorEdit*>(item.widget)) {
            const QString text = edit->toPlainText().simplified();
            if (!text.isEmpty())
                texts << text;
        }
    }
    setAccessibleDescription(texts.join(QLatin1Char('\n')));
    // The same texts as the one readable text of the notice, in place of the edits.
    m_client->setAccessibleName(texts.join(QLatin1Char('\n')));
}

void CNoticeDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // A notice asks for no minimise box, but some window managers (openbox) offer one to every
    // window, and minimise the owner with it: with no task bar nothing would bring them back.
    // A minimised notice comes straight back, with its owner.
    if (event->type() != QEvent::WindowStateChange || !isMinimized())
        return;
    QTimer::singleShot(0, this, [this] {
        if (QWidget* owner = parentWidget(); owner && owner->isMinimized())
            owner->showNormal();
        if (isVisible()) {
            showNormal();
            activateWindow();
        }
    });
}

void CNoticeDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (event->spontaneous()) // minimised
        return;
    // A closed notice leaves the window system, and with it the screen readers' list of the
    // program's windows; it is made anew when it shows again. Once its closing is over.
    QMetaObject::invokeMethod(
        this, [this] { if (!isVisible()) destroy(); }, Qt::QueuedConnection);
}

void CNoticeDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (BorderWidth() == 0)
        return;
    // One screen pixel on the outermost pixels on every side, whatever the screen's scale: drawn
    // in screen pixels, as a line in the window's own units would be as wide as the scale and,
    // at a fractional one, fall between pixels (a broken right side, one pixel inside).
    QPainter painter(this);
    const qreal scale = devicePixelRatioF();
    const QSize pixels = size() * scale; // the window's pixels, rounded as Qt sizes them
    painter.setTransform(QTransform::fromScale(1 / scale, 1 / scale));
    const QColor colour = palette().color(QPalette::WindowText);
    painter.fillRect(0, 0, pixels.width(), 1, colour);
    painter.fillRect(0, pixels.height() - 1, pixels.width(), 1, colour);
    painter.fillRect(0, 0, 1, pixels.height(), colour);
    painter.fillRect(pixels.width() - 1, 0, 1, pixels.height(), colour);
}
