// Fifty updates in a row in one main window: the descriptors stay as they were and resident
// memory grows by less than a few images. The full soak is bench/zfu-bench-soak.
#include "base/MessageCatalog.h"
#include "common/ProcessResources.h"
#include "common/RadioSimProcess.h"
#include "common/TestSupport.h"
#include "ui/controls/ColorEdit.h"
#include "ui/main/FirmUtilityDlg.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int kUpdates = 50;
// Large enough that keeping one image per update would pass the bound many times over.
constexpr qint64 kImageSize = 256 * 1024;
// The first updates settle allocator pools and Qt's caches; growth counts after them.
constexpr int kWarmUpdates = 5;
constexpr qint64 kGrowthLimitKiB = 8 * 1024;

// AddressSanitizer keeps freed memory in quarantine, so resident memory grows there by design;
// under it LeakSanitizer checks for leaks instead of this bound.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentMemoryIsMeaningful = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kResidentMemoryIsMeaningful = false;
#else
constexpr bool kResidentMemoryIsMeaningful = true;
#endif
#else
constexpr bool kResidentMemoryIsMeaningful = true;
#endif

} // namespace

TEST(Soak, FiftyUpdatesInOneWindowLeaveDescriptorsAndMemoryFlat)
{
    if (ProcessResources::OpenDescriptors() < 0 || ProcessResources::ResidentKiB() < 0)
        GTEST_SKIP() << "this system does not report descriptors and resident memory";
    // The window connects to the radio's port: the soak has an address of its own.
    // One session more than the updates: a simulator that ended after the last one would close
    // its pipes to this process while the descriptors are counted.
    RadioSimProcess sim(QStringLiteral("127.0.0.199"), {"--sessions", QString::number(kUpdates + 1)});
    ASSERT_TRUE(sim.Ready());
    const QString image = TestSupport::WriteRandomFile(QStringLiteral("soak.dat"), kImageSize);

    CFirmUtilityDlg dlg;
    dlg.SetLanguage(LanguageEnglishUs);
    dlg.SetOptions({true, false, {}});
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    qobject_cast<QLineEdit*>(dlg.GetDlgItem(CFirmUtilityDlg::IDC_FILE_NAME))->setText(image);
    qobject_cast<QLineEdit*>(dlg.GetDlgItem(CFirmUtilityDlg::IDC_IP_ADDRESS))->setText(QStringLiteral("127.0.0.199"));
    auto* pane = qobject_cast<CColorEdit*>(dlg.GetDlgItem(CFirmUtilityDlg::IDC_MESSAGE));
    const QString updated = LoadText(IDS_STATUS_UPDATED, LanguageEnglishUs) + QStringLiteral("\r\n");

    int descriptorsWarm = -1;
    qint64 residentWarm = -1;
    for (int i = 0; i < kUpdates; ++i) {
        dlg.OnStart();
        ASSERT_TRUE(pane->Text().endsWith(updated)) << "update " << i + 1;
        if (i + 1 == kWarmUpdates) {
            descriptorsWarm = ProcessResources::OpenDescriptors();
            residentWarm = ProcessResources::ResidentKiB();
        }
    }
    EXPECT_EQ(ProcessResources::OpenDescriptors(), descriptorsWarm);
    if (kResidentMemoryIsMeaningful) {
        EXPECT_LT(ProcessResources::ResidentKiB() - residentWarm, kGrowthLimitKiB);
    }
}
