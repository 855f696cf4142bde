// The message catalog: every operator-visible text by numeric identifier and language,
// plus the few fixed texts that are the same in both languages.
#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

// Language identifiers; chosen once at start-up and held by every window.
enum : quint16 {
    LanguageNeutral = 0,
    LanguageEnglishUs = 1033,
    LanguageJapanese = 1041,
};

// Catalog identifiers, named by where they are used.
enum TextId : quint16 {
    IDS_SOCKET_INIT_FAILED = 1103,
    IDS_GUARD_UNAVAILABLE = 1120, // no single-copy guard could be made
    IDS_LABEL_IP_ADDRESS = 1105,
    IDS_LABEL_FILE_NAME = 1111,
    IDS_BUTTON_BROWSE = 1112,
    IDS_BUTTON_START = 1113,
    IDS_INSTRUCTION = 1117,
    IDS_ERR_NOT_FOUND = 1201,
    IDS_ERR_TRANSFER = 1203,
    IDS_ERR_UPDATE_FILE = 1204,
    IDS_ERR_ILLEGAL_DATA = 1205,
    IDS_ERR_NO_REPLY = 1206,
    IDS_ERR_NOT_REGULAR_FILE = 1207,
    IDS_ERR_FILE_NAME_NOT_UTF8 = 1208, // a name decoded with replacement characters
    IDS_STATUS_CONNECTED = 1300,
    IDS_STATUS_WAIT = 1301,
    IDS_STATUS_TRANSFERRING = 1302,
    IDS_STATUS_TRANSFERRED = 1303,
    IDS_STATUS_UPDATE_START = 1304,
    IDS_STATUS_UPDATED = 1305,
    IDS_STATUS_CONNECTING = 1309,
    IDS_STATUS_SETTINGS_NOT_STORED = 1310, // a write to the settings failed
    IDS_TIP_START = 1351,
    IDS_TIP_BROWSE = 1352,
    IDS_TIP_FILE_NAME = 1353,
    IDS_TIP_IP_ADDRESS = 1354,
    IDS_FILE_FILTER = 1360,
    IDS_MODEL_NAME = 1361,
    IDS_NAME_PROGRESS = 1370, // what screen readers call the progress bar,
    IDS_NAME_MESSAGES = 1371, // the status log
    IDS_NAME_BROWSE = 1372,   // the browse button,
    IDS_NAME_RADIO_PICTURE = 1373, // the radio's picture
    IDS_NAME_LOGO = 1374,          // and the lettering
    IDS_CAUTION_HEADING = 1400,
    IDS_CAUTION_RISK = 1401,
    IDS_CAUTION_RESPONSIBILITY = 1402,
    IDS_CAUTION_SETTINGS_LOST = 1403,
    IDS_CAUTION_BACKUP = 1404,
    IDS_CAUTION_QUESTION = 1405,
    IDS_CONFIRM_FIRST = 1410,
    IDS_CONFIRM_POWER = 1411,
    IDS_CONFIRM_LATER = 1412,
    IDS_CONFIRM_QUESTION = 1413,
    IDS_COMPLETE_TEXT = 1420,
    IDS_COMPLETE_POWER = 1421,
    IDS_CONFIRM_NO = 1500,
    IDS_CAUTION_YES = 1501,
    IDS_CAUTION_NO = 1502,
    IDS_CONFIRM_YES = 1503,
};

// Finds the entry with exactly this identifier and language. On failure returns false and
// leaves `text` unchanged.
bool LoadCatalogString(quint16 id, quint16 language, QString& text);

// LoadCatalogString for callers that want an empty text when the entry is missing.
QString LoadText(quint16 id, quint16 language);

// Every identifier in the catalog, in rising order.
QVector<quint16> CatalogIds();

// Fixed texts outside the catalog.
namespace FixedText {
inline constexpr char ProductTitle[] = "Zerlind Firm Utility";
inline constexpr char Version[] = "Version 1.00";
inline constexpr char OpenTitle[] = "Open";
inline constexpr char SettingsWarningCaption[] = u8"デバッグ警告";
inline constexpr char SettingsWarningText[] = u8"レジストリキーが設定されていません";
} // namespace FixedText
