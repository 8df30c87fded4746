#pragma once

#include "core/ReferenceDate.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>
#include <stdexcept>

namespace quillor {

// A JSON document or object that breaks its format: a missing required key, a
// wrong type, a bad UUID or Base64 text, an unknown enumeration value. Not a
// user-facing error: callers turn it into their own message.
class JsonDecodingError : public std::runtime_error {
public:
    explicit JsonDecodingError(const QString& message);
};

// Strict reading and writing of the program's JSON files.
namespace Json {

// UUIDs: written upper case, 8-4-4-4-12 hexadecimal digits without braces;
// read in either case, nothing else accepted.
QString uuidText(const QUuid& uuid);
std::optional<QUuid> parseUuid(const QString& text);

// Standard Base64 with padding; anything else is refused.
std::optional<QByteArray> parseBase64(const QString& text);

// Whole documents. parseObject throws JsonDecodingError when the bytes are not
// JSON or the top level is not an object.
QJsonObject parseObject(const QByteArray& bytes);
QByteArray serialize(const QJsonObject& object);

// Reads the fields of one object. Required readers throw JsonDecodingError on
// a missing key, null or wrong type; optional readers give nullopt for a
// missing key or null and throw on a wrong type. Unknown keys are ignored.
class Reader {
public:
    explicit Reader(const QJsonObject& object) : m_object(object) {}

    const QJsonObject& object() const { return m_object; }
    bool has(const QString& key) const;   // present and not null

    QString string(const QString& key) const;
    std::optional<QString> optionalString(const QString& key) const;
    bool boolean(const QString& key) const;
    std::optional<bool> optionalBoolean(const QString& key) const;
    double number(const QString& key) const;
    std::optional<double> optionalNumber(const QString& key) const;
    qint64 integer(const QString& key) const;   // a number with no fraction
    std::optional<qint64> optionalInteger(const QString& key) const;
    QUuid uuid(const QString& key) const;
    std::optional<QUuid> optionalUuid(const QString& key) const;
    QByteArray bytes(const QString& key) const;
    std::optional<QByteArray> optionalBytes(const QString& key) const;
    ReferenceDate date(const QString& key) const;
    std::optional<ReferenceDate> optionalDate(const QString& key) const;
    QJsonObject object(const QString& key) const;
    std::optional<QJsonObject> optionalObject(const QString& key) const;
    QJsonArray array(const QString& key) const;
    std::optional<QJsonArray> optionalArray(const QString& key) const;

    // An array of objects, each decoded by `decode` (which may throw).
    template <typename T>
    QList<T> list(const QString& key, const std::function<T(const QJsonObject&)>& decode) const
    {
        return decodeList<T>(array(key), key, decode);
    }
    template <typename T>
    std::optional<QList<T>> optionalList(const QString& key,
                                         const std::function<T(const QJsonObject&)>& decode) const
    {
        const auto values = optionalArray(key);
        if (!values)
            return std::nullopt;
        return decodeList<T>(*values, key, decode);
    }

    template <typename T>
    static QList<T> decodeList(const QJsonArray& values, const QString& key,
                               const std::function<T(const QJsonObject&)>& decode)
    {
        QList<T> result;
        result.reserve(values.size());
        for (const QJsonValue& value : values) {
            if (!value.isObject())
                throw JsonDecodingError(QStringLiteral("%1: expected an array of objects").arg(key));
            result.append(decode(value.toObject()));
        }
        return result;
    }

private:
    QJsonValue required(const QString& key) const;
    QJsonObject m_object;
};

// Builds one object; optional setters write nothing for nullopt, never null.
class Writer {
public:
    Writer& set(const QString& key, const QString& value);
    Writer& set(const QString& key, const char* value) { return set(key, QString::fromUtf8(value)); }
    Writer& set(const QString& key, bool value);
    Writer& set(const QString& key, double value);
    Writer& set(const QString& key, int value) { return set(key, qint64(value)); }
    Writer& set(const QString& key, qint64 value);
    Writer& set(const QString& key, const QUuid& value);
    Writer& set(const QString& key, const QByteArray& value);   // Base64
    Writer& set(const QString& key, const ReferenceDate& value);
    Writer& set(const QString& key, const QJsonObject& value);
    Writer& set(const QString& key, const QJsonArray& value);

    template <typename T>
    Writer& setOptional(const QString& key, const std::optional<T>& value)
    {
        if (value)
            set(key, *value);
        return *this;
    }

    QJsonObject object() const { return m_object; }

private:
    QJsonObject m_object;
};

} // namespace Json
} // namespace quillor
