// A drag source for the window tests: a small window that, pressed, drags the files named on its
// command line (copy or move offered, as a file manager does) and prints what the target's cursor
// said at the drop. It stays two seconds after, as the target reads the names once it has the drop.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>

class Source : public QWidget {
    void mousePressEvent(QMouseEvent*) override
    {
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const QString& path : QApplication::arguments().mid(1))
            urls << QUrl::fromLocalFile(path);
        data->setUrls(urls);
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        std::puts(drag->exec(Qt::CopyAction | Qt::MoveAction) == Qt::CopyAction ? "copied" : "refused");
        std::fflush(stdout);
        QTimer::singleShot(2000, qApp, &QApplication::quit);
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Source source;
    source.setWindowTitle(QStringLiteral("drag source"));
    source.setGeometry(0, 0, 100, 100);
    source.show();
    return app.exec();
}
