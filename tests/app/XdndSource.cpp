// A drag source for the window tests: a small window that, pressed, drags the files named on its
// command line (as a file manager does, copy or move offered) and prints what the target's cursor
// said at the drop.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

constexpr int kServeMs = 2000;

class Source : public QWidget {
public:
    explicit Source(QList<QUrl> urls) : m_urls(std::move(urls)) {}

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(m_urls);
        drag->setMimeData(data);
        const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction);
        std::printf("%s\n", action == Qt::CopyAction ? "copied" : action == Qt::IgnoreAction ? "refused" : "other");
        std::fflush(stdout);
        // The target asks for the files' names once the drop is made: the source stays for that.
        QTimer::singleShot(kServeMs, qApp, &QApplication::quit);
    }

private:
    QList<QUrl> m_urls;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (const QString& path : QApplication::arguments().mid(1))
        urls << QUrl::fromLocalFile(path);
    Source source(urls);
    source.setWindowTitle(QStringLiteral("drag source"));
    source.setGeometry(0, 0, 100, 100);
    source.show();
    return app.exec();
}
