#include "platform/FontWarmUp.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>

namespace quillor {

FontWarmUp::FontWarmUp()
    : m_thread([] {
          // Qt loads the font configuration under its database's lock: a first
          // text laid out meanwhile waits for it instead of loading its own.
          QFontDatabase::families();
          // Loads the application font's engine on this thread, which is of no
          // use to the others, but leaves its fallbacks in the shared database.
          QFontMetricsF(QGuiApplication::font()).horizontalAdvance(QStringLiteral("Quillor"));
      })
{
}

FontWarmUp::~FontWarmUp()
{
    m_thread.join();
}

} // namespace quillor
