// Without libFuzzer: feeds every file named on the command line, or found in a folder named
// there, once to the target's entry point, so the seed corpora keep passing in the normal build.
#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool Replay(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    std::printf("%s (%lld bytes)\n", qPrintable(path), static_cast<long long>(bytes.size()));
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const QString path = QFile::decodeName(argv[i]);
        if (!QFileInfo(path).isDir()) {
            if (!Replay(path))
                return 1;
            ++replayed;
            continue;
        }
        QDirIterator it(path, QDir::Files);
        while (it.hasNext()) {
            if (!Replay(it.next()))
                return 1;
            ++replayed;
        }
    }
    // An empty corpus would pass without testing anything.
    if (replayed == 0) {
        std::fprintf(stderr, "no inputs\n");
        return 1;
    }
    return 0;
}
