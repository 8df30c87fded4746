#include "core/Json.h"

#include <gtest/gtest.h>

#include <QJsonDocument>

using namespace quillor;

TEST(JsonTest, UuidParsingIsStrict)
{
    const QUuid expected = QUuid::fromString(QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF"));
    struct Case {
        const char* text;
        bool accepted;
    };
    const Case cases[] = {
        {"6F9619FF-8B86-D011-B42D-00C04FC964FF", true},
        {"6f9619ff-8b86-d011-b42d-00c04fc964ff", true},
        {"6f9619FF-8b86-D011-b42d-00C04fc964FF", true},
        {"{6F9619FF-8B86-D011-B42D-00C04FC964FF}", false},
        {"6F9619FF-8B86-D011-B42D-00C04FC964F", false},
        {"6F9619FF-8B86-D011-B42D-00C04FC964FFF", false},
        {"6F9619FF8B86-D011-B42D-00C04FC964FF0", false},
        {"6F9619FG-8B86-D011-B42D-00C04FC964FF", false},
        {"6F9619FF-8B86-D011-B42D-00C04FC964F ", false},
        {"", false},
    };
    for (const Case& c : cases) {
        const auto parsed = Json::parseUuid(QString::fromUtf8(c.text));
        EXPECT_EQ(parsed.has_value(), c.accepted) << c.text;
        if (parsed && c.accepted) {
            EXPECT_EQ(*parsed, expected) << c.text;
        }
    }

    const auto nil = Json::parseUuid(QStringLiteral("00000000-0000-0000-0000-000000000000"));
    ASSERT_TRUE(nil.has_value());
    EXPECT_TRUE(nil->isNull());
}

TEST(JsonTest, UuidIsWrittenUpperCaseWithoutBraces)
{
    const QUuid uuid = QUuid::fromString(QStringLiteral("6f9619ff-8b86-d011-b42d-00c04fc964ff"));
    EXPECT_EQ(Json::uuidText(uuid), QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF"));
    EXPECT_EQ(Json::Writer().set(QStringLiteral("id"), uuid).object().value(QStringLiteral("id")).toString(),
              QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF"));
}

TEST(JsonTest, Base64ParsingIsStrict)
{
    struct Case {
        const char* text;
        std::optional<QByteArray> expected;
    };
    const Case cases[] = {
        {"", QByteArray()},
        {"aGVsbG8=", QByteArray("hello")},
        {"aGk=", QByteArray("hi")},
        {"aGVsbG8h", QByteArray("hello!")},
        {"+/+/", QByteArray::fromHex("fbffbf")},
        {"aGVsbG8", std::nullopt},       // padding missing
        {"aGk", std::nullopt},
        {"aGVs bG8h   ", std::nullopt},  // white space
        {"aGVsbG8=\r\n\r\n", std::nullopt},
        {"aGVsbG8*", std::nullopt},      // outside the alphabet
        {"-_-_", std::nullopt},          // URL alphabet
        {"aG=k", std::nullopt},          // padding in the middle
        {"a===", std::nullopt},
        {"====", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Json::parseBase64(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(JsonTest, DoublesSurviveAWriteAndReadExactly)
{
    const double values[] = {795180307.123456789, 0.1, -1.0 / 3.0, 1e-300, 123456789012.5, 0.0, 7.0};
    for (const double value : values) {
        const QByteArray bytes = Json::serialize(Json::Writer().set(QStringLiteral("v"), value).object());
        const double read = Json::Reader(Json::parseObject(bytes)).number(QStringLiteral("v"));
        EXPECT_EQ(read, value) << bytes.toStdString();
    }
}

TEST(JsonTest, ReaderTreatsMissingAndNullAsAbsentAndWrongTypesAsErrors)
{
    const QJsonObject object = Json::parseObject(
        R"({"s": "x", "n": null, "b": true, "i": 3.0, "f": 2.5, "big": 1e30, "u": "not-a-uuid", "o": {}, "a": []})");
    const Json::Reader reader(object);

    EXPECT_FALSE(reader.has(QStringLiteral("n")));
    EXPECT_FALSE(reader.has(QStringLiteral("missing")));
    EXPECT_EQ(reader.optionalString(QStringLiteral("n")), std::nullopt);
    EXPECT_EQ(reader.optionalBoolean(QStringLiteral("missing")), std::nullopt);
    EXPECT_THROW(reader.string(QStringLiteral("n")), JsonDecodingError);
    EXPECT_THROW(reader.string(QStringLiteral("missing")), JsonDecodingError);

    EXPECT_THROW(reader.optionalString(QStringLiteral("b")), JsonDecodingError);
    EXPECT_THROW(reader.boolean(QStringLiteral("s")), JsonDecodingError);
    EXPECT_THROW(reader.number(QStringLiteral("s")), JsonDecodingError);
    EXPECT_THROW(reader.object(QStringLiteral("a")), JsonDecodingError);
    EXPECT_THROW(reader.array(QStringLiteral("o")), JsonDecodingError);
    EXPECT_THROW(reader.optionalUuid(QStringLiteral("u")), JsonDecodingError);

    EXPECT_EQ(reader.integer(QStringLiteral("i")), 3);
    EXPECT_THROW(reader.integer(QStringLiteral("f")), JsonDecodingError);
    EXPECT_THROW(reader.integer(QStringLiteral("big")), JsonDecodingError);
}

TEST(JsonTest, IntegersKeepEveryDigit)
{
    const qint64 large = 9007199254740993; // not representable as a double
    const QByteArray bytes = Json::serialize(Json::Writer().set(QStringLiteral("v"), large).object());
    EXPECT_EQ(Json::Reader(Json::parseObject(bytes)).integer(QStringLiteral("v")), large);
    EXPECT_EQ(Json::Reader(Json::parseObject(R"({"v": 0})")).integer(QStringLiteral("v")), 0);
    EXPECT_EQ(Json::Reader(Json::parseObject(R"({"v": 1})")).integer(QStringLiteral("v")), 1);
}

TEST(JsonTest, DocumentsThatAreNotObjectsAreRefused)
{
    EXPECT_THROW(Json::parseObject("[]"), JsonDecodingError);
    EXPECT_THROW(Json::parseObject("{\"a\": "), JsonDecodingError);
    EXPECT_THROW(Json::parseObject(""), JsonDecodingError);
    EXPECT_NO_THROW(Json::parseObject(" {} "));
}

TEST(JsonTest, OptionalSettersWriteNothingForAbsentValues)
{
    const QJsonObject object = Json::Writer()
                                   .setOptional(QStringLiteral("a"), std::optional<QString>())
                                   .setOptional(QStringLiteral("b"), std::optional<bool>(false))
                                   .object();
    EXPECT_EQ(object.keys(), QStringList{QStringLiteral("b")});
}
