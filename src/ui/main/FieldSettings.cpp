#include "FieldSettings.h"

namespace {

const QString kConfigKey = QStringLiteral("Config");

QString ValueName(InputField field)
{
    return field == InputField::FileName ? QStringLiteral("Filename") : QStringLiteral("IP");
}

} // namespace

CFieldSettings::CFieldSettings()
{
    m_settings.SetKeyPath(QString::fromUtf8(SETTINGS_KEY_PATH));
}

QString CFieldSettings::Read(InputField field)
{
    QString text;
    m_settings.ReadString(kConfigKey, ValueName(field), text, QString());
    return text;
}

bool CFieldSettings::Store(InputField field, const QString& text)
{
    const bool stored = m_settings.WriteString(kConfigKey, ValueName(field), text);
    const bool tell = !stored && !m_bStoreFailed;
    m_bStoreFailed = !stored;
    return tell;
}
