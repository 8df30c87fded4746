#include "core/L10n.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillor"));
    quillor::L10n::configure(std::nullopt);
    QTextStream(stdout) << quillor::L10n::text(QStringLiteral("Quillor est prêt.")) << Qt::endl;
    return 0;
}
