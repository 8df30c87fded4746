#include "model/DataDirectory.h"

#include "platform/BuildInfo.h"

#include <QByteArray>
#include <QDir>
#include <QStandardPaths>

namespace quillor::DataDirectory {
namespace {

// Relative to the current directory; "" is the current directory itself.
// Nothing else is done to the text: no cleaning, no links resolved.
QString absolute(const QString& path, const QString& currentDirectory)
{
    return QDir(currentDirectory).absoluteFilePath(path);
}

} // namespace

Inputs currentInputs()
{
    Inputs inputs;
    const QByteArray variable = environmentVariable().toLatin1();
    // Set but empty still counts, so test for presence, not for a value.
    if (qEnvironmentVariableIsSet(variable.constData()))
        inputs.environmentValue = qEnvironmentVariable(variable.constData());
    inputs.sandboxQA = BuildInfo::sandboxQA();
    inputs.testDataDirectory = BuildInfo::testDataDirectory();
    inputs.currentDirectory = QDir::currentPath();
    inputs.temporaryFolder = QDir::tempPath();
    inputs.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return inputs;
}

QString choose(const Inputs& inputs)
{
    if (inputs.environmentValue)
        return absolute(*inputs.environmentValue, inputs.currentDirectory);
    if (inputs.sandboxQA)
        return inputs.temporaryFolder + QStringLiteral("/QuillorSandboxQA");
    if (!inputs.testDataDirectory.isEmpty())
        return absolute(inputs.testDataDirectory, inputs.currentDirectory);
    return inputs.userDataFolder + QStringLiteral("/Quillor");
}

QString support()
{
    static const QString directory = choose(currentInputs());
    return directory;
}

} // namespace quillor::DataDirectory
