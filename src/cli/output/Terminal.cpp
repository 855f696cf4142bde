#include "Terminal.h"

#include "StandardOutput.h"

#include <QFile>

#include <atomic>

namespace Terminal {

namespace {
std::atomic<bool> keepUtf8{false};
} // namespace

void KeepUtf8(bool keep)
{
    keepUtf8 = keep;
}

TextStream::TextStream(std::FILE* stream) : m_device(ConsoleDevice(stream))
{
    if (m_device) {
        setDevice(m_device.get());
        return;
    }
    QIODevice* bytes = &StandardOutput(); // on stdout the one device, whose errors the exit status reports
    if (stream != stdout) {
        auto file = std::make_unique<QFile>();
        file->open(stream, QIODevice::WriteOnly);
        m_device = std::move(file);
        bytes = m_device.get();
    }
    if (!keepUtf8)
        m_encoder = CodePageDevice(bytes);
    setDevice(m_encoder ? m_encoder.get() : bytes);
}

TextStream::~TextStream()
{
    // What is still buffered goes out while the device lives.
    setDevice(nullptr);
}

} // namespace Terminal
