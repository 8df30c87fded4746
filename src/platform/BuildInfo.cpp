#include "platform/BuildInfo.h"

#include "platform/BuildConfiguration.h"

namespace quillor::BuildInfo {

QString shortVersion() { return QStringLiteral(QUILLOR_VERSION_TEXT); }
QString buildNumber() { return QStringLiteral(QUILLOR_BUILD_NUMBER_TEXT); }
bool sandboxed() { return QUILLOR_SANDBOXED; }
bool sandboxQA() { return QUILLOR_SANDBOX_QA; }
QString testDataDirectory() { return QStringLiteral(QUILLOR_TEST_DATA_DIRECTORY_TEXT); }
QString updateHost() { return QStringLiteral(QUILLOR_UPDATE_HOST_TEXT); }

} // namespace quillor::BuildInfo
