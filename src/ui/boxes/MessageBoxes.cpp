#include "MessageBoxes.h"

#include "base/Language.h"
#include "base/MessageCatalog.h"
#include "base/SystemErrorText.h"
#include "ui/controls/FrameCentring.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

namespace {

// Each line wider than `room` broken after its last Japanese comma or full stop, or at its last
// blank, that leaves the line within `room`: Qt's own wrapping breaks Japanese between any two
// letters, inside a word. What cannot be broken so is left as it is.
QString BreakLines(const QString& text, const QFontMetrics& metrics, int room)
{
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        while (metrics.horizontalAdvance(line) > room) {
            qsizetype cut = -1;
            for (qsizetype i = 1; i < line.size(); ++i) {
                const QChar c = line.at(i - 1);
                if ((c == u'\u3001' || c == u'\u3002' || c == u' ') && metrics.horizontalAdvance(line.left(i).trimmed()) <= room)
                    cut = i;
            }
            if (cut < 0)
                break;
            lines << line.left(cut); // a blank stays, so the words read as before without the breaks
            line = line.mid(cut);
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

// A box placed over its owner's centre by the program itself: Qt's own placement allows for a
// guessed window frame, which puts it off centre where there is none (no window manager).
class CenteredMessageBox : public QMessageBox {
public:
    CenteredMessageBox(Icon icon, const QString& title, const QString& text, StandardButtons buttons, QWidget* owner)
        : QMessageBox(icon, title, text, buttons, owner)
        , m_centring(new CFrameCentring(*this, CFrameCentring::Over::Owner))
    {
        new CReturnFromMinimise(*this); // owned by the box
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event); // takes Qt's size here, at every showing
        FitScreenAndTitle();
        if (!event->spontaneous())
            m_centring->Centre();
    }

    bool event(QEvent* event) override
    {
        // Qt sizes the box anew at every layout request; once shown, the size here stands, or
        // the two would undo each other for ever.
        if (event->type() != QEvent::LayoutRequest || !isVisible())
            return QMessageBox::event(event);
        const bool result = QDialog::event(event);
        FitScreenAndTitle();
        return result;
    }

private:
    // Qt wraps a line wider than half the screen, counted in the screen's units: on a screen
    // scaled by 2 (half as many units) lines that fit unscaled were wrapped. The limit here is
    // half the screen's pixels, at most 500 units, as on a plain screen, and the screen's width;
    // a longer line is broken between words (BreakLines), and one that cannot be is wrapped by
    // the label at that width, not at Qt's narrower one. The box is also wide enough for its title with the frame's icon and buttons beside it,
    // which window managers would otherwise cut short. Nothing changes when nothing differs, so
    // the layout request this raises ends here.
    void FitScreenAndTitle()
    {
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        if (!label || !layout() || !screen())
            return;
        const int screenWidth = screen()->availableGeometry().width();
        const int limit = std::min({kMostWidth, int(screenWidth * devicePixelRatioF() / 2), screenWidth});
        const QMargins margins = label->contentsMargins();
        layout()->activate();
        const int others = layout()->totalMinimumSize().width() - label->minimumSizeHint().width() + margins.left() +
                           margins.right() + 2 * label->margin();
        const QString broken = BreakLines(label->text(), label->fontMetrics(), limit - others);
        if (broken != label->text()) {
            label->setText(broken);
            layout()->activate();
        }
        int lines = 0;
        for (const QString& line : label->text().split(QLatin1Char('\n')))
            lines = std::max(lines, label->fontMetrics().horizontalAdvance(line));
        const int unwrapped = std::max(layout()->totalMinimumSize().width(), others + lines);
        const bool wrap = unwrapped > limit; // a line that could not be broken: the label wraps it
        if (label->wordWrap() != wrap)
            label->setWordWrap(wrap);
        QFont titleFont = font();
        titleFont.setBold(true);
        const QFontMetrics title(titleFont);
        const int width = std::max(wrap ? limit : unwrapped,
                                   title.horizontalAdvance(windowTitle()) + kTitleBarItems * title.height());
        layout()->activate();
        const int height = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width)
                                                         : layout()->totalMinimumSize().height();
        const QSize size = WholeResizeSteps(QSize(width, height), devicePixelRatioF());
        if (size != this->size() || minimumSize() != maximumSize()) {
            setFixedSize(size);
            layout()->activate(); // the label takes its new width now, not at the next resize event
        }
    }

    static constexpr int kMostWidth = 500;    // Qt's own limit on a plain screen
    static constexpr int kTitleBarItems = 10; // icon and buttons beside the title, with room

private:
    CFrameCentring* m_centring;
};

QWidget* DefaultOwner(QWidget* owner)
{
    if (owner)
        return owner;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

QMessageBox::StandardButton AppMessageBox(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                                          QMessageBox::StandardButtons buttons)
{
    if (icon == QMessageBox::NoIcon &&
        (buttons == QMessageBox::Ok || buttons == (QMessageBox::Ok | QMessageBox::Cancel)))
        icon = QMessageBox::Warning; // the exclamation icon
    QWidget* const parent = DefaultOwner(owner);
    // Plain line breaks: the box hands its text to screen readers as it is, and some read the
    // catalog's carriage returns out.
    CenteredMessageBox box(icon, QString::fromUtf8(FixedText::ProductTitle),
                           QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), buttons, parent);
    if (parent) {
        // The owner's letters (a Japanese window's proportional gothic) at the box's own size.
        QFont font = parent->font();
        font.setPointSizeF(box.font().pointSizeF());
        box.setFont(font);
    }
    return QMessageBox::StandardButton(box.exec());
}

QMessageBox::StandardButton AppMessageBoxById(quint16 id, QMessageBox::StandardButtons buttons)
{
    // The platform's choice of resource language: Japanese on a Japanese system, else English
    // through the language-neutral copy.
    const quint16 language = ChooseLanguage(SystemLocaleId()) == LanguageJapanese ? LanguageJapanese : LanguageNeutral;
    QString text;
    if (!LoadCatalogString(id, language, text))
        LoadCatalogString(id, LanguageEnglishUs, text);
    return AppMessageBox(nullptr, text, QMessageBox::NoIcon, buttons);
}

void ShowErrorBox(QWidget* owner, const QString& text)
{
    AppMessageBox(owner, text, QMessageBox::Critical, QMessageBox::Ok);
}

void ShowSystemErrorBox(QWidget* owner, int code)
{
    QString text;
    if (!LoadSystemErrorText(code, SystemLocaleId(), text))
        return;
    ShowErrorBox(owner, text);
}
