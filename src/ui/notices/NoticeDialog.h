// Common ground of the three notice dialogs: controls placed from a template in dialog units and
// put back there at every showing, the notice-layout pass, and centring over the owner.
#pragma once

#include "base/MessageCatalog.h"
#include "ui/notices/DialogUnits.h"
#include "ui/notices/NoticeLayout.h"

#include <QDialog>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

class CColorEdit;
class CFrameCentring;
class QPushButton;

class CNoticeDialog : public QDialog {
    Q_OBJECT
public:
    // A caption bar with a close box, or a caption-less window with a thin border.
    enum class Frame { Caption, BorderOnly };

    // The template's point size ("MS Shell Dlg" 8 pt).
    static constexpr int kTemplatePointSize = 8;

    // The language of every text, which also chooses the font; set by the owner before the
    // dialog is shown.
    quint16 m_wLanguage = LanguageEnglishUs;

    // An item's rectangle in client coordinates.
    QRect ItemRect(int id) const;
    QWidget* Item(int id) const;
    // The client area in the dialog widget's coordinates (inside the drawn border, if any).
    QRect ClientRect() const;
    // The template font's units as of the last showing.
    const CDialogUnits& Units() const { return m_units; }
    // What the last showing added to the width so that no line is cut off: 0 in a font in
    // which the template holds every line.
    int Widening() const { return m_widening; }

protected:
    CNoticeDialog(QSize templateUnits, Frame frame, QWidget* parent);

    // Items in template order; later items stack above earlier ones, so a text whose control
    // overlaps the one above it is never hidden by that control's empty lower lines.
    QPushButton* AddButton(int id, int x, int y, int width, int height, const QString& caption);
    CColorEdit* AddText(int id, int x, int y, int width, int height, bool centered = false);
    CColorEdit* Text(int id) const;
    QPushButton* Button(int id) const;

    // Runs at every showing, after the template layout is restored and before the dialog appears.
    virtual void OnInitDialog() = 0;

    void ApplyNoticeLayout(const NoticeLayoutPlan& plan);
    void MoveItemBy(int id, int dx, int dy);


    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct TemplateItem {
        int id;
        QWidget* widget;
        QRect units;     // x, y, width, height in dialog units
        QString caption; // buttons only
        bool centered;
    };

    void RestoreTemplate();
    void SetItemRect(int id, const QRect& clientRect);
    void SetDialogWidth(int width);
    void FitWidestLines();
    void AlignCenteredTexts();
    void DescribeForScreenReaders();
    int BorderWidth() const;
    const TemplateItem* Find(int id) const;

    // Holds every item, so none paints over the border; transparent, so the dialog's own
    // painting shows through.
    QWidget* m_client;
    CFrameCentring* m_centring; // over the owner, or the screen when there is none
    QVector<TemplateItem> m_items;
    QSize m_templateUnits;
    Frame m_frame;
    CDialogUnits m_units;
    int m_widening = 0;
};
