// Helpers shared by the tests: bounded waiting and closing the modal boxes a test provokes.
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

class QFont;
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

// Where one line drawn in `font` puts ink, found by drawing it: the left and right edge
// (exclusive) relative to the pen's start, widened to the line's advance so that the room the
// line takes is included as well. A glyph that overhangs its advance shows here. A pixel is ink
// when at least a quarter covered; fainter smoothing at a glyph's edge is not seen missing.
struct InkExtent {
    int left = 0;
    int right = 0;
    int Width() const { return right - left; }
};
InkExtent LineInk(const QFont& font, const QString& line);

} // namespace TestSupport
