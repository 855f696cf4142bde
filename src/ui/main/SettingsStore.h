// The per-user settings of the program: one key path, subkeys below it and string values in
// them, written through to the platform's settings store at once and read with a size limit.
#pragma once

#include <QString>

#include <memory>

class QSettings;

class CSettingsStore {
public:
    // Key path plus subkey name, with the terminating zero, must fit in this many bytes.
    static constexpr int SETTINGS_PATH_SIZE = 520;
    // A stored value with its terminating zero must fit in this many bytes to be read.
    static constexpr int SETTINGS_VALUE_SIZE = 512;

    // Where a key below the user's root lives in Qt's terms: "software\org\app\a\b" becomes
    // organisation "org", application "app" and group "a/b".
    struct KeyLocation {
        QString organization;
        QString application;
        QString group;
    };

    // Sets the program's key path, adding a trailing backslash. False (path unchanged) when the
    // path is empty or too long to leave room for a subkey.
    bool SetKeyPath(const QString& path);
    const QString& KeyPath() const { return m_strKeyPath; }

    // Stores `text` as value `name` of `subkey`, creating the key when needed, and syncs it to
    // disk at once. False when the key cannot be made or the store cannot be written.
    bool WriteString(const QString& subkey, const QString& name, const QString& text);

    // Fills `text` with the stored value, or with `defaultText` when the key path is not set,
    // the key or value is missing, the value is not a string or does not fit SETTINGS_VALUE_SIZE.
    // True only when the stored value was read.
    bool ReadString(const QString& subkey, const QString& name, QString& text, const QString& defaultText);

    // Maps key path + subkey to its location; false when the joined path is too long or does
    // not have the form "software\organisation\application[\group...]".
    static bool LocateKey(const QString& keyPath, const QString& subkey, KeyLocation& location);

    // The folder of the file that holds the keys below `keyPath`; empty when the path has no
    // usable location.
    static QString StoreFolder(const QString& keyPath);

    // The joined length limit and the read limit, in bytes of UTF-8.
    static bool FitsValueSize(const QString& value);

private:
    // The existing key, positioned in its group; null when it does not exist or cannot be read.
    // With no key path set the program's debug warning is shown.
    std::unique_ptr<QSettings> OpenKey(const QString& subkey);
    // The key, created on first write; null when its location is unusable.
    std::unique_ptr<QSettings> CreateKey(const QString& subkey);

    QString m_strKeyPath; // empty until set; ends in a backslash once set
};
