#include "core/Delivery.h"

#include <QException>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>

namespace quillor {

Delivery::Delivery(const QString& backupRoot) : m_writer(backupRoot)
{
    // One thread: two saves to the same note must not interleave their reads
    // and writes.
    m_pool.setMaxThreadCount(1);
}

Delivery::~Delivery()
{
    m_pool.waitForDone();
}

QFuture<QString> Delivery::save(const Capture& capture, const Destination& destination)
{
    return QtConcurrent::run(&m_pool, [this, capture, destination] { return m_writer.save(capture, destination); });
}

QString Delivery::result(const QFuture<QString>& future)
{
    try {
        return future.result();
    } catch (const QUnhandledException& wrapped) {
        if (wrapped.exception())
            std::rethrow_exception(wrapped.exception());
        throw;
    }
}

} // namespace quillor
