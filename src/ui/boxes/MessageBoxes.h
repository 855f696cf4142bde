// The program's message boxes: caption "Zerlind Firm Utility", the exclamation icon when the
// caller asks for none, and the system-error box with the system's own text.
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// A box with a ready text. With Icon::NoIcon and OK or OK|Cancel buttons the exclamation icon
// is added. The owner is `owner`, else the active modal or active window.
QMessageBox::StandardButton AppMessageBox(QWidget* owner, const QString& text,
                                          QMessageBox::Icon icon = QMessageBox::NoIcon,
                                          QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// A box with catalog text `id` in the language the system locale chooses (only the socket
// start-up failure uses this form).
QMessageBox::StandardButton AppMessageBoxById(quint16 id,
                                              QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// The error box of the update run: catalog text already loaded, error icon, OK.
void ShowErrorBox(QWidget* owner, const QString& text);

// The system's text for `code` with the error icon; shows nothing when there is no text.
void ShowSystemErrorBox(QWidget* owner, int code);
