#include "core/Error.h"

namespace quillor {

const char* Error::what() const noexcept
{
    // Kept in the object so the pointer stays valid as long as the error lives.
    m_what = localizedDescription().toUtf8();
    return m_what.constData();
}

PlatformError::PlatformError(QString domain, int code, QString description)
    : m_domain(std::move(domain)), m_code(code), m_description(std::move(description))
{
}

bool PlatformError::operator==(const PlatformError& other) const
{
    return m_domain == other.m_domain && m_code == other.m_code && m_description == other.m_description;
}

} // namespace quillor
