// Read-only multi-line text control drawn in its own text and background colours, without a
// context menu. Used for the main window's message pane and the notice texts.
#pragma once

#include "ui/controls/Colors.h"

#include <QPlainTextEdit>
#include <QString>

class CColorEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CColorEdit(QWidget* parent = nullptr);

    // Each setter repaints the whole control.
    void SetBackgroundColor(COLORREF cr);
    void SetTextColor(COLORREF cr);
    COLORREF BackgroundColor() const { return m_crBackground; }
    COLORREF TextColor() const { return m_crText; }

    // With wrapping off a line ends only at a line break.
    void SetWordWrap(bool wrap);
    bool WordWrap() const;

    // Texts use CR LF line breaks; Text() gives the text exactly as it was set and appended.
    void SetText(const QString& text);
    // Adds at the end, whatever the selection, and scrolls the caret into view.
    void AppendText(const QString& text);
    const QString& Text() const { return m_strText; }

    // The area the text is laid out in, in the control's own coordinates.
    QRect FormattingRect() const;

    // What the control shows for a stored text: CR LF and LF end a line, a lone CR shows nothing.
    static QString DisplayText(const QString& text);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ApplyColors();

    COLORREF m_crText;
    COLORREF m_crBackground;
    QString m_strText;
};
