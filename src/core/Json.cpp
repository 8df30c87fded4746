#include "core/Json.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace quillor {

JsonDecodingError::JsonDecodingError(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

namespace Json {
namespace {

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

bool isBase64Digit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'+'
        || u == u'/';
}

[[noreturn]] void fail(const QString& key, const char* problem)
{
    throw JsonDecodingError(QStringLiteral("%1: %2").arg(key, QString::fromUtf8(problem)));
}

} // namespace

QString uuidText(const QUuid& uuid)
{
    return uuid.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUuid> parseUuid(const QString& text)
{
    // QUuid::fromString also takes braces and answers bad text with the nil
    // UUID, which is itself a valid value here: check the exact shape first.
    if (text.size() != 36)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool hyphenPosition = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphenPosition ? text[i] != u'-' : !isHexDigit(text[i]))
            return std::nullopt;
    }
    return QUuid::fromString(text);
}

std::optional<QByteArray> parseBase64(const QString& text)
{
    // Qt's decoder tolerates missing padding; the files we read never lack it,
    // so a text that does is as broken as one with a stray character.
    if (text.size() % 4 != 0)
        return std::nullopt;
    qsizetype padding = 0;
    while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == u'=')
        ++padding;
    const qsizetype digits = text.size() - padding;
    for (qsizetype i = 0; i < digits; ++i) {
        if (!isBase64Digit(text[i]))
            return std::nullopt;
    }
    auto decoded = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (decoded.decodingStatus != QByteArray::Base64DecodingStatus::Ok)
        return std::nullopt;
    return decoded.decoded;
}

QJsonObject parseObject(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        throw JsonDecodingError(QStringLiteral("not JSON: %1 at offset %2").arg(error.errorString()).arg(error.offset));
    if (!document.isObject())
        throw JsonDecodingError(QStringLiteral("the top level is not an object"));
    return document.object();
}

QByteArray serialize(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

// MARK: Reader

bool Reader::has(const QString& key) const
{
    const QJsonValue value = m_object.value(key);
    return !value.isUndefined() && !value.isNull();
}

QJsonValue Reader::required(const QString& key) const
{
    if (!has(key))
        fail(key, "missing required value");
    return m_object.value(key);
}

QString Reader::string(const QString& key) const
{
    const QJsonValue value = required(key);
    if (!value.isString())
        fail(key, "expected a string");
    return value.toString();
}

std::optional<QString> Reader::optionalString(const QString& key) const
{
    return has(key) ? std::optional(string(key)) : std::nullopt;
}

bool Reader::boolean(const QString& key) const
{
    const QJsonValue value = required(key);
    if (!value.isBool())
        fail(key, "expected a boolean");
    return value.toBool();
}

std::optional<bool> Reader::optionalBoolean(const QString& key) const
{
    return has(key) ? std::optional(boolean(key)) : std::nullopt;
}

double Reader::number(const QString& key) const
{
    const QJsonValue value = required(key);
    if (!value.isDouble())
        fail(key, "expected a number");
    return value.toDouble();
}

std::optional<double> Reader::optionalNumber(const QString& key) const
{
    return has(key) ? std::optional(number(key)) : std::nullopt;
}

qint64 Reader::integer(const QString& key) const
{
    const QJsonValue value = required(key);
    if (!value.isDouble())
        fail(key, "expected an integer");
    // toInteger answers the default for a fraction or a value out of range;
    // two different defaults tell that apart from a genuine 0 or 1.
    const qint64 first = value.toInteger(0);
    if (first != value.toInteger(1))
        fail(key, "expected an integer");
    return first;
}

std::optional<qint64> Reader::optionalInteger(const QString& key) const
{
    return has(key) ? std::optional(integer(key)) : std::nullopt;
}

QUuid Reader::uuid(const QString& key) const
{
    const auto uuid = parseUuid(string(key));
    if (!uuid)
        fail(key, "invalid UUID");
    return *uuid;
}

std::optional<QUuid> Reader::optionalUuid(const QString& key) const
{
    return has(key) ? std::optional(uuid(key)) : std::nullopt;
}

QByteArray Reader::bytes(const QString& key) const
{
    auto bytes = parseBase64(string(key));
    if (!bytes)
        fail(key, "invalid Base64");
    return *bytes;
}

std::optional<QByteArray> Reader::optionalBytes(const QString& key) const
{
    return has(key) ? std::optional(bytes(key)) : std::nullopt;
}

ReferenceDate Reader::date(const QString& key) const
{
    return ReferenceDate{number(key)};
}

std::optional<ReferenceDate> Reader::optionalDate(const QString& key) const
{
    return has(key) ? std::optional(date(key)) : std::nullopt;
}

QJsonObject Reader::object(const QString& key) const
{
    const QJsonValue value = required(key);
    if (!value.isObject())
        fail(key, "expected an object");
    return value.toObject();
}

std::optional<QJsonObject> Reader::optionalObject(const QString& key) const
{
    return has(key) ? std::optional(object(key)) : std::nullopt;
}

QJsonArray Reader::array(const QString& key) const
{
    const QJsonValue value = required(key);
    if (!value.isArray())
        fail(key, "expected an array");
    return value.toArray();
}

std::optional<QJsonArray> Reader::optionalArray(const QString& key) const
{
    return has(key) ? std::optional(array(key)) : std::nullopt;
}

// MARK: Writer

Writer& Writer::set(const QString& key, const QString& value)
{
    m_object.insert(key, value);
    return *this;
}

Writer& Writer::set(const QString& key, bool value)
{
    m_object.insert(key, value);
    return *this;
}

Writer& Writer::set(const QString& key, double value)
{
    m_object.insert(key, value);
    return *this;
}

Writer& Writer::set(const QString& key, qint64 value)
{
    m_object.insert(key, value);
    return *this;
}

Writer& Writer::set(const QString& key, const QUuid& value)
{
    return set(key, uuidText(value));
}

Writer& Writer::set(const QString& key, const QByteArray& value)
{
    return set(key, QString::fromLatin1(value.toBase64()));
}

Writer& Writer::set(const QString& key, const ReferenceDate& value)
{
    return set(key, value.secondsSinceReferenceDate);
}

Writer& Writer::set(const QString& key, const QJsonObject& value)
{
    m_object.insert(key, value);
    return *this;
}

Writer& Writer::set(const QString& key, const QJsonArray& value)
{
    m_object.insert(key, value);
    return *this;
}

} // namespace Json
} // namespace quillor
