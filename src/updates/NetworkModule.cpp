#include "updates/NetworkModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace quillor::NetworkModule {

TransferFunction loadFrom(const QString& path)
{
    // Never unloaded: its network manager and exit routine live as long as
    // the application.
    QLibrary module(path);
    const auto entry = reinterpret_cast<EntryPoint>(module.resolve(entryPoint));
    if (!entry) {
        qWarning("Quillor: the network module could not be loaded: %s", qUtf8Printable(module.errorString()));
        return nullptr;
    }
    return entry();
}

CatalogTransport catalogTransport()
{
    static const TransferFunction transfer =
        loadFrom(QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(fileName)));
    if (!transfer)
        return {};
    return transfer;
}

} // namespace quillor::NetworkModule
