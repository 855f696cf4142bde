#include "MessageBoxes.h"

#include "base/Language.h"
#include "base/MessageCatalog.h"
#include "base/SystemErrorText.h"

#include <QApplication>

namespace {

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
    QMessageBox box(icon, QString::fromUtf8(FixedText::ProductTitle), text, buttons, DefaultOwner(owner));
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
