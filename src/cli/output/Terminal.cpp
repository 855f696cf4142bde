#include "Terminal.h"

#include "StandardOutput.h"

#include <QFile>

namespace Terminal {

TextStream::TextStream(std::FILE* stream) : m_device(ConsoleDevice(stream))
{
    if (m_device) {
        setDevice(m_device.get());
    } else if (stream == stdout) {
        // The one device on stdout, whose errors the exit status reports.
        setDevice(&StandardOutput());
    } else {
        auto file = std::make_unique<QFile>();
        file->open(stream, QIODevice::WriteOnly);
        m_device = std::move(file);
        setDevice(m_device.get());
    }
}

TextStream::~TextStream()
{
    // What is still buffered goes out while the device lives.
    setDevice(nullptr);
}

} // namespace Terminal
