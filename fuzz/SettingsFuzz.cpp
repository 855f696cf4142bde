// Stored settings as they come back from disk: any bytes as the settings file, read through
// the store the way the window reads its address and file name, then written and read again.
#include "FuzzInput.h"

#include "ui/main/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>

namespace {

const QString kOrganization = QStringLiteral("vurn");
const QString kConfigKey = QStringLiteral("Config");
const QString kValueNames[] = {QStringLiteral("IP"), QStringLiteral("Filename")};
const QString kDefault = QStringLiteral("<default>");

std::unique_ptr<QTemporaryDir> g_configHome;
quint64 g_serial = 0;

void CheckRead(CSettingsStore& store, const QString& name)
{
    QString text;
    if (!store.ReadString(kConfigKey, name, text, kDefault)) {
        FUZZ_CHECK(text == kDefault);
        return;
    }
    FUZZ_CHECK(CSettingsStore::FitsValueSize(text));
    FUZZ_CHECK(!text.contains(QChar(0)));
    // What was read survives a write and a second read unchanged.
    if (!store.WriteString(kConfigKey, name, text))
        return;
    QString again;
    FUZZ_CHECK(store.ReadString(kConfigKey, name, again, kDefault));
    FUZZ_CHECK(again == text);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The store lives below the user's configuration folder: a private one for this process.
    g_configHome = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/zfu-fuzz-XXXXXX"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(g_configHome->path()));
    QDir(g_configHome->path()).mkpath(kOrganization);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A file of its own each time: the settings layer caches a file it has read by its name.
    const QString application = QStringLiteral("Zerlind FirmUtility %1").arg(++g_serial);
    const QString path = g_configHome->path() + u'/' + kOrganization + u'/' + application + QStringLiteral(".conf");
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }

    CSettingsStore store;
    FUZZ_CHECK(store.SetKeyPath(QStringLiteral("software\\") + kOrganization + u'\\' + application));
    for (const QString& name : kValueNames)
        CheckRead(store, name);

    QFile::remove(path);
    return 0;
}
