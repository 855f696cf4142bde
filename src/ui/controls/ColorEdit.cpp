// Read-only colour text control.
#include "ui/controls/ColorEdit.h"

#include <QContextMenuEvent>
#include <QPalette>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

CColorEdit::CColorEdit(QWidget* parent)
    : QPlainTextEdit(parent)
    , m_crText(SysColorBtnText())
    , m_crBackground(SysColorBtnFace())
{
    setReadOnly(true);
    setFrameShape(QFrame::NoFrame);
    setContextMenuPolicy(Qt::DefaultContextMenu); // our handler swallows the request
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(0);
    setUndoRedoEnabled(false);
    SetWordWrap(true);
    ApplyColors();
}

void CColorEdit::SetBackgroundColor(COLORREF cr)
{
    m_crBackground = cr;
    ApplyColors();
}

void CColorEdit::SetTextColor(COLORREF cr)
{
    m_crText = cr;
    ApplyColors();
}

void CColorEdit::ApplyColors()
{
    QPalette pal = palette();
    const QColor back = ToQColor(m_crBackground);
    const QColor text = ToQColor(m_crText);
    // Every colour group, so the control looks the same active, inactive and disabled.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Base, back);
        pal.setColor(group, QPalette::Window, back);
        pal.setColor(group, QPalette::Text, text);
        pal.setColor(group, QPalette::WindowText, text);
    }
    setPalette(pal);
    viewport()->setPalette(pal);
    update();
    viewport()->update();
}

void CColorEdit::SetWordWrap(bool wrap)
{
    setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

bool CColorEdit::WordWrap() const
{
    return lineWrapMode() != QPlainTextEdit::NoWrap;
}

QString CColorEdit::DisplayText(const QString& text)
{
    QString shown = text;
    shown.remove(QLatin1Char('\r'));
    return shown;
}

void CColorEdit::SetText(const QString& text)
{
    m_strText = text;
    setPlainText(DisplayText(text));
}

void CColorEdit::AppendText(const QString& text)
{
    m_strText += text;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(DisplayText(text));
    setTextCursor(cursor);
    ensureCursorVisible();
}

QRect CColorEdit::FormattingRect() const
{
    const int margin = int(document()->documentMargin());
    return viewport()->geometry().adjusted(margin, margin, -margin, -margin);
}

void CColorEdit::contextMenuEvent(QContextMenuEvent* event)
{
    // Accepted and ignored: neither this control nor its parent shows a menu.
    event->accept();
}
