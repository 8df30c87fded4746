#include "core/Json.h"

#include "TestSupport.h"

#include <functional>

using namespace quillor;

TEST(JsonTest, UuidsAreReadInEitherCaseAndWrittenUpperCase)
{
    const QUuid expected(QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF"));
    const std::pair<const char*, bool> cases[] = {
        {"6F9619FF-8B86-D011-B42D-00C04FC964FF", true},  {"6f9619FF-8b86-D011-b42d-00C04fc964ff", true},
        {"{6F9619FF-8B86-D011-B42D-00C04FC964FF}", false}, {"6F9619FF-8B86-D011-B42D-00C04FC964F", false},
        {"6F9619FF8B86-D011-B42D-00C04FC964FF0", false},  {"6F9619FG-8B86-D011-B42D-00C04FC964FF", false},
        {"6F9619FF-8B86-D011-B42D-00C04FC964F ", false},  {"", false},
    };
    for (const auto& [text, accepted] : cases)
        EXPECT_EQ(Json::parseUuid(text), accepted ? std::optional(expected) : std::nullopt) << text;
    EXPECT_EQ(Json::parseUuid("00000000-0000-0000-0000-000000000000"), QUuid());
    EXPECT_EQ(Json::uuidText(expected), "6F9619FF-8B86-D011-B42D-00C04FC964FF");
}

TEST(JsonTest, Base64IsStrict)
{
    const std::pair<const char*, std::optional<QByteArray>> cases[] = {
        {"", ""},          {"aGVsbG8=", "hello"}, {"aGk=", "hi"},      {"+/+/", QByteArray::fromHex("fbffbf")},
        {"aGVsbG8", {}},   {"aGVs bG8h", {}},     {"aGk=\r\n", {}},    {"aGVsbG8*", {}},
        {"-_-_", {}},      {"aG=k", {}},          {"a===", {}},        {"====", {}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Json::parseBase64(text), expected) << text;
}

TEST(JsonTest, NumbersSurviveAWriteAndReadExactly)
{
    for (const double value : {795180307.123456789, 0.1, -1.0 / 3.0, 1e-300, 123456789012.5, 7.0}) {
        const QByteArray bytes = Json::serialize(Json::Writer().set("v", value).object());
        EXPECT_EQ(Json::Reader(Json::parseObject(bytes)).number("v"), value) << bytes.toStdString();
    }
    const qint64 large = 9007199254740993;   // not representable as a double
    EXPECT_EQ(Json::Reader(Json::parseObject(Json::serialize(Json::Writer().set("v", large).object()))).integer("v"), large);
}

TEST(JsonTest, ReaderTreatsMissingAndNullAsAbsentAndWrongTypesAsErrors)
{
    const Json::Reader reader(Json::parseObject(
        R"({"s": "x", "n": null, "b": true, "i": 3.0, "f": 2.5, "big": 1e30, "u": "not-a-uuid", "o": {}, "a": []})"));
    EXPECT_FALSE(reader.has("n") || reader.has("missing"));
    EXPECT_EQ(reader.optionalString("n"), std::nullopt);
    EXPECT_EQ(reader.optionalBoolean("missing"), std::nullopt);
    EXPECT_EQ(reader.integer("i"), 3);
    for (const auto& read : std::initializer_list<std::function<void()>>{
             [&] { reader.string("n"); },         [&] { reader.string("missing"); },
             [&] { reader.optionalString("b"); }, [&] { reader.boolean("s"); },
             [&] { reader.number("s"); },         [&] { reader.object("a"); },
             [&] { reader.array("o"); },          [&] { reader.optionalUuid("u"); },
             [&] { reader.integer("f"); },        [&] { reader.integer("big"); },
             [] { Json::parseObject("[]"); },     [] { Json::parseObject("{\"a\": "); },
             [] { Json::parseObject(""); }})
        EXPECT_THROW(read(), JsonDecodingError);
}
