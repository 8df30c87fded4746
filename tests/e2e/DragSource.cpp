// Another Qt program to drag from: a window named "Source" whose every press
// starts a drag of the file given on the command line, as a file manager's
// would. Prints "ready" once shown.

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

class Source : public QWidget {
public:
    explicit Source(QString file) : m_file(std::move(file)) { setWindowTitle(QStringLiteral("Source")); }

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* drag = new QDrag(this);
        auto* mime = new QMimeData;
        mime->setUrls({QUrl::fromLocalFile(m_file)});
        drag->setMimeData(mime);
        drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    }

private:
    QString m_file;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 2)
        return 2;
    Source source(QString::fromLocal8Bit(argv[1]));
    source.setGeometry(40, 40, 200, 150);
    source.show();
    std::printf("ready\n");
    std::fflush(stdout);
    return application.exec();
}
