// Another Qt program to drag from: a window named "Source" whose every press
// starts a drag of the file given on the command line, as a file manager's
// would. Prints "ready" once shown, "drag" as each drag starts, then
// "accepted" or "refused" each time the window under the pointer answers: a
// release is a drop only once the target has accepted.

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

void say(const char* line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

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
        say("drag");
        connect(drag, &QDrag::actionChanged, this,
                [](Qt::DropAction action) { say(action == Qt::IgnoreAction ? "refused" : "accepted"); });
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
    say("ready");
    return application.exec();
}
