#include "SettingsStore.h"

#include "base/MessageCatalog.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMessageBox>
#include <QSaveFile>
#include <QSettings>
#include <QStringDecoder>
#include <QStringList>
#include <QTemporaryFile>
#include <QVector>

#include <optional>

namespace {

const QChar kKeySeparator = QLatin1Char('\\');
// Qt places every per-user store below the root's "Software" key itself.
const QString kSoftwareKey = QStringLiteral("software");

// Bytes the key name takes in the store's own (UTF-8) form, without a terminating zero.
int KeyBytes(const QString& text)
{
    return int(text.toUtf8().size());
}

// The value of `c` as a digit of `base` (8 or 16); -1 when it is none.
int DigitValue(char c, int base)
{
    const int value = c >= '0' && c <= '9' ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : base;
    return value < base ? value : -1;
}

// Whether an INI text may hold a value the settings layer would decode as a serialised variant
// ("@Variant(" at the start of a value or a list element, once escapes are undone): its decoder
// takes sizes from the file and can ask for gigabytes. The program itself stores only strings,
// whose leading '@' the layer doubles, so a file of its own never holds one.
bool MayHoldSerialisedVariant(const QByteArray& content)
{
    // Escapes undone and quotes dropped, wider than the layer's own reading: a false alarm only
    // costs the stored values.
    QByteArray plain;
    plain.reserve(content.size());
    for (qsizetype i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '"')
            continue;
        if (c != '\\' || i + 1 >= content.size()) {
            plain += c;
            continue;
        }
        const char next = content[++i];
        int base = 0;
        if (next == 'x' || next == 'X') {
            base = 16;
            ++i;
        } else if (next >= '0' && next <= '7') {
            base = 8;
        } else {
            plain += next;
            continue;
        }
        uint code = 0;
        for (int digit; i < content.size() && (digit = DigitValue(content[i], base)) >= 0; ++i)
            code = code * uint(base) + uint(digit);
        --i;
        plain += char(code & 0xFF);
    }
    for (qsizetype at = plain.indexOf("@Variant("); at >= 0; at = plain.indexOf("@Variant(", at + 1)) {
        qsizetype before = at - 1;
        while (before >= 0 && (plain[before] == ' ' || plain[before] == '\t'))
            --before;
        if (before < 0 || plain[before] == '=' || plain[before] == ',' || plain[before] == '\n'
            || plain[before] == '\r')
            return true;
    }
    return false;
}

// The store that holds key path + subkey, at its root; null when the location is unusable or
// the store cannot be read (a later write would then overwrite what could not be read).
std::unique_ptr<QSettings> ReadableStore(const QString& keyPath, const QString& subkey,
                                         CSettingsStore::KeyLocation& location)
{
    if (!CSettingsStore::LocateKey(keyPath, subkey, location))
        return nullptr;
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                location.organization, location.application);
    if (settings->status() != QSettings::NoError)
        return nullptr;
    // The file is read only at the first access: looked at before, so that a crafted or damaged
    // file costs the stored values, not the program.
    QFile file(settings->fileName());
    if (file.open(QIODevice::ReadOnly) && MayHoldSerialisedVariant(file.readAll()))
        return nullptr;
    return settings;
}

// One "name=value" line of the store's file with the section it stands in.
struct StoreLine {
    QByteArray section; // "[Config]"
    QByteArray name;
    QByteArray line;
};

QByteArray ReadStoreFile(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool IsUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError();
}

// Calls `visit` with every value line of an INI file and its section; a line the callback
// replaces is written into the result.
template <class Visit>
QByteArray EachValueLine(const QByteArray& content, Visit visit)
{
    QList<QByteArray> lines = content.split('\n');
    QByteArray section;
    for (QByteArray& line : lines) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('[')) {
            section = trimmed;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            visit(section, line.left(equals).trimmed(), line);
    }
    return lines.join('\n');
}

QVector<StoreLine> LinesNotUtf8(const QByteArray& content)
{
    QVector<StoreLine> found;
    if (IsUtf8(content))
        return found;
    EachValueLine(content, [&](const QByteArray& section, const QByteArray& name, QByteArray& line) {
        if (!IsUtf8(line))
            found.append({section, name, line});
    });
    return found;
}

// Every key of an INI text with its value, as the store's own reader takes them; none when the
// text cannot be read back to check it.
std::optional<QMap<QString, QVariant>> ParsedValues(const QByteArray& content)
{
    // A fresh name each time: the settings layer caches a file it has read by its name.
    QTemporaryFile file;
    if (!file.open() || file.write(content) != content.size() || !file.flush())
        return std::nullopt;
    QSettings parsed(file.fileName(), QSettings::IniFormat);
    if (parsed.status() != QSettings::NoError)
        return std::nullopt;
    QMap<QString, QVariant> values;
    for (const QString& key : parsed.allKeys())
        values.insert(key, parsed.value(key));
    return values;
}

// Puts the `kept` lines back in place of what the store wrote for them, except the value just
// written (`group`, `name`), and only where the file then reads exactly as the store wrote it:
// the store reads CR as a line end too and lets a quote run across lines, and it reorders the
// keys, so a kept line can swallow or split the lines that now follow it. False when the file
// cannot be rewritten.
bool PutLinesBack(const QString& fileName, const QVector<StoreLine>& kept, const QString& group, const QString& name)
{
    const QByteArray written = '[' + (group.isEmpty() ? QByteArray("General") : group.toUtf8()) + ']';
    const QByteArray storeContent = ReadStoreFile(fileName);
    const std::optional<QMap<QString, QVariant>> storeValues = ParsedValues(storeContent);
    if (!storeValues)
        return true; // unchecked, a kept line stays out: the value just written reads back
    QByteArray content = storeContent;
    for (const StoreLine& k : kept) {
        if (k.section == written && k.name == name.toUtf8())
            continue;
        bool replaced = false;
        const QByteArray candidate = EachValueLine(
            content, [&](const QByteArray& section, const QByteArray& key, QByteArray& line) {
                if (!replaced && k.section == section && k.name == key && k.line != line) {
                    line = k.line;
                    replaced = true;
                }
            });
        if (!replaced)
            continue;
        const std::optional<QMap<QString, QVariant>> candidateValues = ParsedValues(candidate);
        if (candidateValues && *candidateValues == *storeValues)
            content = candidate;
    }
    if (content == storeContent)
        return true;
    QSaveFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
}

} // namespace

bool CSettingsStore::SetKeyPath(const QString& path)
{
    if (path.isEmpty())
        return false;
    QString withSeparator = path;
    if (!withSeparator.endsWith(kKeySeparator))
        withSeparator += kKeySeparator;
    // A subkey of at least one character and the terminating zero must still fit.
    if (KeyBytes(withSeparator) + 2 > SETTINGS_PATH_SIZE)
        return false;
    m_strKeyPath = withSeparator;
    return true;
}

bool CSettingsStore::LocateKey(const QString& keyPath, const QString& subkey, KeyLocation& location)
{
    QString joined = keyPath + subkey;
    if (joined.endsWith(kKeySeparator))
        joined.chop(1);
    if (KeyBytes(joined) + 1 > SETTINGS_PATH_SIZE)
        return false;

    const QStringList parts = joined.split(kKeySeparator, Qt::SkipEmptyParts);
    if (parts.size() < 3 || parts.front().compare(kSoftwareKey, Qt::CaseInsensitive) != 0)
        return false;
    location.organization = parts.at(1);
    location.application = parts.at(2);
    location.group = parts.mid(3).join(QLatin1Char('/'));
    return true;
}

QString CSettingsStore::StoreFolder(const QString& keyPath)
{
    KeyLocation location;
    if (!LocateKey(keyPath, QString(), location))
        return QString();
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, location.organization,
                             location.application);
    return QFileInfo(settings.fileName()).absolutePath();
}

bool CSettingsStore::FitsValueSize(const QString& value)
{
    return KeyBytes(value) + 1 <= SETTINGS_VALUE_SIZE;
}

std::unique_ptr<QSettings> CSettingsStore::OpenKey(const QString& subkey)
{
    if (m_strKeyPath.isEmpty()) {
        // Only a program that forgot to set its key path gets here; the message says so.
        QMessageBox box(QMessageBox::Critical, QString::fromUtf8(FixedText::SettingsWarningCaption),
                        QString::fromUtf8(FixedText::SettingsWarningText), QMessageBox::Ok);
        box.exec();
        return nullptr;
    }
    KeyLocation location;
    std::unique_ptr<QSettings> settings = ReadableStore(m_strKeyPath, subkey, location);
    if (!settings)
        return nullptr;
    // Opening never creates: every level of the group must already be there.
    for (const QString& level : location.group.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (!settings->childGroups().contains(level))
            return nullptr;
        settings->beginGroup(level);
    }
    return settings;
}

std::unique_ptr<QSettings> CSettingsStore::CreateKey(const QString& subkey)
{
    KeyLocation location;
    std::unique_ptr<QSettings> settings = ReadableStore(m_strKeyPath, subkey, location);
    if (!settings)
        return nullptr;
    if (!location.group.isEmpty())
        settings->beginGroup(location.group);
    return settings;
}

bool CSettingsStore::WriteString(const QString& subkey, const QString& name, const QString& text)
{
    std::unique_ptr<QSettings> key = CreateKey(subkey);
    if (!key)
        return false;
    // The store reads a value that is not UTF-8 (a path in Shift-JIS, say) with replacement
    // characters and writes every value back at each sync; such lines are put back as they were,
    // so that a write changes its own value and no other.
    const QString file = key->fileName();
    const QVector<StoreLine> kept = LinesNotUtf8(ReadStoreFile(file));
    key->setValue(name, text);
    key->sync();
    if (key->status() != QSettings::NoError)
        return false;
    return kept.isEmpty() || PutLinesBack(file, kept, key->group(), name);
}

bool CSettingsStore::ReadString(const QString& subkey, const QString& name, QString& text,
                                const QString& defaultText)
{
    text = defaultText;
    std::unique_ptr<QSettings> key = OpenKey(subkey);
    if (!key)
        return false;
    const QVariant value = key->value(name);
    if (value.typeId() != QMetaType::QString)
        return false;
    QString stored = value.toString();
    if (!FitsValueSize(stored))
        return false;
    // The value ends at its first zero, as a stored string does.
    const qsizetype zero = stored.indexOf(QChar(0));
    if (zero >= 0)
        stored.truncate(zero);
    text = stored;
    return true;
}
