#include "MessageBoxes.h"

#include "base/Language.h"
#include "base/MessageCatalog.h"
#include "base/SystemErrorText.h"
#include "ui/controls/FrameCentring.h"

#include <QApplication>
#include <QShowEvent>

namespace {

// A box placed over its owner's centre by the program itself: Qt's own placement allows for a
// guessed window frame, which puts it off centre where there is none (no window manager).
class CenteredMessageBox : public QMessageBox {
public:
    CenteredMessageBox(Icon icon, const QString& title, const QString& text, StandardButtons buttons, QWidget* owner)
        : QMessageBox(icon, title, text, buttons, owner)
        , m_centring(new CFrameCentring(*this, CFrameCentring::Over::Owner))
    {
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event); // takes its final size here
        if (!event->spontaneous())
            m_centring->Centre();
    }

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
    const quint16 language = ChooseLanguage(SystemLocaleId()) == LANG_JAPANESE ? LANG_JAPANESE : LANG_NEUTRAL_ID;
    QString text;
    if (!LoadString(id, language, text))
        LoadString(id, LANG_ENGLISH_US, text);
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
