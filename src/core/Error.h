#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace quillor {

// Base of every error the program throws. The text the user reads comes from
// localizedDescription(), looked up through L10n at the moment it is asked for;
// what() gives the same text in UTF-8 for logs and test failures.
class Error : public std::exception {
public:
    ~Error() override = default;
    virtual QString localizedDescription() const = 0;
    const char* what() const noexcept override;

private:
    mutable QByteArray m_what;
};

// An error of a platform service, told apart by its domain ("Quillor",
// "Quillor.Shortcut", "Quillor.VaultAccess") and a numeric code.
class PlatformError : public Error {
public:
    PlatformError(QString domain, int code, QString description);
    QString domain() const { return m_domain; }
    int code() const { return m_code; }
    QString localizedDescription() const override { return m_description; }
    bool operator==(const PlatformError& other) const;

private:
    QString m_domain;
    int m_code = 0;
    QString m_description;
};

} // namespace quillor
