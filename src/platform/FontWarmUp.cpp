#include "platform/FontWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

namespace quillor {

FontWarmUp::FontWarmUp()
    : m_thread([] {
          // Qt loads the font configuration under its database's lock: a first
          // text laid out meanwhile waits for it instead of loading its own.
          // Nothing more: fonts matched here would serve this thread alone.
          QFontDatabase::families();
      })
{
}

FontWarmUp::~FontWarmUp()
{
    m_thread.join();
}

} // namespace quillor
