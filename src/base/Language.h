// Language choice: the process's message locale as a 32-bit locale identifier, and the rule
// that only an exactly Japanese locale gets Japanese texts.
#pragma once

#include <QByteArray>
#include <QtGlobal>

enum : quint32 {
    LOCALE_ID_JAPANESE = 0x0411,
    LOCALE_ID_ENGLISH_US = 0x0409,
};

// 1041 for the locale identifier 0x0411 only; 1033 for every other value.
quint16 ChooseLanguage(quint32 localeId);

// Maps a POSIX locale name ("ja_JP.UTF-8", "de_DE@euro", "C") to its locale identifier;
// unknown names give 0x0409.
quint32 LocaleIdFromName(const QByteArray& name);

// The message locale of the process: LC_ALL, else LC_MESSAGES, else LANG (first non-empty).
QByteArray MessageLocaleName();

// What start-up calls the thread locale: the system's default locale on Windows,
// LocaleIdFromName(MessageLocaleName()) on POSIX.
quint32 SystemLocaleId();
