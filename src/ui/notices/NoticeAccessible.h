// What screen readers learn of a notice's text: one read-only text holding every paragraph in the
// order the eye reads them, instead of an unnamed text object for each; the buttons stay as they are.
#pragma once

#include <QAccessibleWidget>
#include <QList>

class CNoticeAccessible : public QAccessibleWidget {
public:
    // The object name that marks a notice's client area for this interface.
    static constexpr char kClientName[] = "noticeClient";

    explicit CNoticeAccessible(QWidget* client);

    // Installs the factory that gives every notice's client area this interface; safe to call often.
    static void Install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    // The children a screen reader sees: all but the texts, which the area's name holds.
    QList<QWidget*> Shown() const;
};
