// The main window's template: its controls with their identifiers, created on the window and
// placed from a table in dialog units of the window's font.
#pragma once

#include <QFont>

class CBitmapExCtrl;
class CColorEdit;
class CGradientBarCtrl;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

class CMainWindowTemplate {
public:
    // Control identifiers of the window's template.
    enum ControlId : int {
        IDC_IP_ADDRESS = 1000,
        IDC_IP_LABEL = 1001,
        IDC_VERSION = 1002,
        IDC_FILE_NAME = 1003,
        IDC_BROWSE = 1004,
        IDC_START = 1013,
        IDC_FILE_LABEL = 1014,
        IDC_LOGO = 1016,
        IDC_PROGRESS = 1018,
        IDC_MESSAGE = 1022,
        IDC_CAPTION = 1023,
        IDC_PROGRESS_FRAME = 1050,
        IDC_MESSAGE_FRAME = 1051,
        IDC_RADIO_PICTURE = -1, // the template's picture has no identifier of its own
    };

    // The template's font: the platform's UI font at this size.
    static constexpr int kDialogFontPoints = 9;

    // The control with this identifier as placed in the window; null for an unknown one.
    QWidget* GetDlgItem(int id) const;

protected:
    // Creates every control as a child of `window`, in template order.
    explicit CMainWindowTemplate(QDialog& window);

    // The platform's UI font at `points`; Japanese texts take the proportional gothic that the
    // notices use, as a Japanese system's dialog font would be.
    static QFont DialogFont(int points, quint16 language);
    // Every control at its place for the window's font, and the window at its fixed size.
    void PlaceControls(QDialog& window);

    // Controls, owned by the window as their parent.
    QFrame* m_ctlProgressFrame = nullptr;
    QFrame* m_ctlProgressEdge = nullptr;
    CGradientBarCtrl* m_ctlProgress = nullptr;
    QFrame* m_ctlMessageFrame = nullptr;
    CColorEdit* m_ctlMessage = nullptr;
    QLabel* m_ctlFileLabel = nullptr;
    QLineEdit* m_ctlFileName = nullptr;
    QPushButton* m_ctlBrowse = nullptr;
    QLabel* m_ctlIpLabel = nullptr;
    QLineEdit* m_ctlIpAddress = nullptr;
    QPushButton* m_ctlStart = nullptr;
    QLabel* m_ctlVersion = nullptr;
    QLabel* m_ctlCaption = nullptr;
    QLabel* m_ctlRadioPicture = nullptr;
    CBitmapExCtrl* m_ctlLogo = nullptr;
};
