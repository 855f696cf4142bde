// Helpers shared by the tests: bounded waiting and closing the modal boxes a test provokes.
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

class QWidget;

namespace TestSupport {

// Processes events until `done` holds or `timeoutMs` passes; returns whether it held.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// Arranges for the next modal widget that appears within `timeoutMs` to be handed to
// `handle` (which usually reads its text and closes it).
void OnNextModal(const std::function<void(QWidget*)>& handle, int timeoutMs = 5000);

// The private folder that the test main made for this process (settings, runtime files).
QString ScratchDir();

// Writes `size` random bytes to `name` in the scratch folder; returns the path.
QString WriteRandomFile(const QString& name, qint64 size);

// SHA-256 of a file's content, in lower-case hex.
QString FileSha256(const QString& path);

} // namespace TestSupport
