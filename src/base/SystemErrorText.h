// The system's own text for an error number, in the language rule of the program: Japanese on
// an exactly Japanese system, English otherwise, then the system's default language.
#pragma once

#include <QString>
#include <QtGlobal>

// False when the system has no text for the code in either language; `text` is then unchanged.
bool LoadSystemErrorText(int code, quint32 threadLocaleId, QString& text);
// The system's text for an error number in the language the program's own texts are in
// (English with --json); "error N" when the system has none.
QString SystemReason(int code);
