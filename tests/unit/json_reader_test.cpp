#include "core/text/json_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tiqora {
namespace {

// Expected values, written by hand from the JSON grammar.
JsonValue scalar(JsonKind kind, std::string text = {}) {
    JsonValue value;
    value.kind = kind;
    value.text = std::move(text);
    return value;
}
JsonValue str(std::string text) { return scalar(JsonKind::String, std::move(text)); }
JsonValue num(std::string text) { return scalar(JsonKind::Number, std::move(text)); }
const JsonValue kTrue = scalar(JsonKind::True);
const JsonValue kFalse = scalar(JsonKind::False);
const JsonValue kNull = scalar(JsonKind::Null);
JsonValue arr(std::vector<JsonValue> items) {
    JsonValue value = scalar(JsonKind::Array);
    value.items = std::move(items);
    return value;
}
JsonValue obj(std::vector<std::pair<std::string, JsonValue>> members) {
    JsonValue value = scalar(JsonKind::Object);
    value.members = std::move(members);
    return value;
}
const std::optional<JsonValue> kRefused;

// `inner` inside `levels` arrays, and its text.
JsonValue inArrays(int levels, JsonValue inner) {
    for (int i = 0; i < levels; ++i) inner = arr({std::move(inner)});
    return inner;
}
std::string inBrackets(int levels, const std::string& inner) {
    return std::string(static_cast<size_t>(levels), '[') + inner + std::string(static_cast<size_t>(levels), ']');
}

constexpr JsonRules kStrict{.lenient = false, .maxDepth = 32};
constexpr JsonRules kLenient{.lenient = true, .maxDepth = 64};

struct Case {
    std::string text;
    std::optional<JsonValue> expected;
};

void expectReads(JsonRules rules, const std::vector<Case>& cases) {
    for (const auto& c : cases) EXPECT_EQ(readJson(c.text, rules), c.expected) << c.text;
}

TEST(JsonReader, StrictStringsAndEveryEscape) {
    expectReads(kStrict, {
        {R"("")", str("")},
        {R"("plain text")", str("plain text")},
        {R"("\"\\\/\b\f\n\r\t")", str("\"\\/\b\f\n\r\t")},
        {R"("\u0041\u00e9\u20AC\uFFFF")", str("A\xC3\xA9\xE2\x82\xAC\xEF\xBF\xBF")},
        {R"("a\u0000b")", str(std::string("a\0b", 3))},
        // Past U+FFFF: a high and a low surrogate make one character.
        {R"("\ud83d\ude00")", str("\xF0\x9F\x98\x80")},
        {R"("\uD800\uDC00")", str("\xF0\x90\x80\x80")},
        {R"("\uDBFF\uDFFF")", str("\xF4\x8F\xBF\xBF")},
        // A surrogate on its own, or in the wrong order, is no character.
        {R"("\ud83d")", kRefused},
        {R"("\ud83dx")", kRefused},
        {R"("\ud83d\u0041")", kRefused},
        {R"("\ud83d\ud83d")", kRefused},
        {R"("\ude00")", kRefused},
        {R"("\ude00\ud83d")", kRefused},
        // Escapes JSON has not.
        {R"("\u12")", kRefused},
        {R"("\u12G4")", kRefused},
        {R"("\U0041")", kRefused},
        {R"("\x41")", kRefused},
        {R"("\'")", kRefused},
        {R"("\q")", kRefused},
        // Raw bytes: control characters must be escaped, DEL need not; text
        // is UTF-8.
        {"\"a\nb\"", kRefused},
        {"\"a\tb\"", kRefused},
        {"\"\x1F\"", kRefused},
        {"\"\x7F\"", str("\x7F")},
        {"\"\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\"", str("\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80")},
        {"\"\xFF\"", kRefused},
        {"\"\xC3\"", kRefused},
        {"\"\xC0\x80\"", kRefused},
        {"\"\xED\xA0\x80\"", kRefused},
        {"{\"\xFF\":1}", kRefused},
        {"'a'", kRefused},
    });
}

TEST(JsonReader, StrictNumbersAndLiterals) {
    expectReads(kStrict, {
        {"0", num("0")},
        {"-0", num("-0")},
        {"7", num("7")},
        {"-12", num("-12")},
        {"1.5", num("1.5")},
        {"-0.25", num("-0.25")},
        {"1e5", num("1e5")},
        {"1E+5", num("1E+5")},
        {"2e-3", num("2e-3")},
        {"-1.5e+3", num("-1.5e+3")},
        // Kept as written, however large.
        {"123456789012345678901234567890e999999", num("123456789012345678901234567890e999999")},
        {"01", kRefused},
        {"-01", kRefused},
        {"1.", kRefused},
        {".5", kRefused},
        {"1.e5", kRefused},
        {"-", kRefused},
        {"+1", kRefused},
        {"1e", kRefused},
        {"1e+", kRefused},
        {"0x1F", kRefused},
        {"NaN", kRefused},
        {"-Infinity", kRefused},
        {"true", kTrue},
        {"false", kFalse},
        {"null", kNull},
        {"True", kRefused},
        {"tru", kRefused},
        {"nulll", kRefused},
    });
}

TEST(JsonReader, StrictContainers) {
    expectReads(kStrict, {
        {"[]", arr({})},
        {"{}", obj({})},
        {"[1,[2,[3]]]", arr({num("1"), arr({num("2"), arr({num("3")})})})},
        {R"({"a":{"b":[true,null]},"c":"d"})", obj({{"a", obj({{"b", arr({kTrue, kNull})}})}, {"c", str("d")}})},
        {R"({"a":1,"a":2})", obj({{"a", num("1")}, {"a", num("2")}})},
        {"[1,]", kRefused},
        {"[,1]", kRefused},
        {"[1 2]", kRefused},
        {R"({"a":1,})", kRefused},
        {"{,}", kRefused},
        {R"({"a"})", kRefused},
        {R"({"a" 1})", kRefused},
        {R"({"a":1 "b":2})", kRefused},
        {"{1:2}", kRefused},
        {"{a:1}", kRefused},
        {"[}", kRefused},
        {R"({"a":1])", kRefused},
    });
}

TEST(JsonReader, TheDepthLimit) {
    // A value may nest maxDepth levels below the one read: [[1]] holds 1 two
    // levels down.
    expectReads({.lenient = false, .maxDepth = 2}, {
        {"[[[]]]", inArrays(2, arr({}))},
        {"[[1]]", inArrays(2, num("1"))},
        {R"({"a":{"b":{}}})", obj({{"a", obj({{"b", obj({})}})}})},
        {"[[[[]]]]", kRefused},
        {"[[[1]]]", kRefused},
        {R"({"a":{"b":{"c":1}}})", kRefused},
    });
    expectReads(kStrict, {
        {inBrackets(33, ""), inArrays(32, arr({}))},
        {inBrackets(32, "1"), inArrays(32, num("1"))},
        {inBrackets(34, ""), kRefused},
        {inBrackets(33, "1"), kRefused},
    });
    expectReads(kLenient, {
        {inBrackets(65, ""), inArrays(64, arr({}))},
        {inBrackets(66, ""), kRefused},
    });
    // No rules go past the reader's own bound.
    expectReads({.lenient = false, .maxDepth = 100000}, {
        {inBrackets(257, ""), inArrays(256, arr({}))},
        {inBrackets(258, ""), kRefused},
    });
    for (const JsonRules rules : {kStrict, kLenient})
        EXPECT_EQ(readJson(std::string(100000, '['), rules), kRefused);
}

TEST(JsonReader, BlanksBetweenTokens) {
    for (const JsonRules rules : {kStrict, kLenient})
        expectReads(rules, {
            {" \t\r\n[ 1 ,\t2 ]\r\n", arr({num("1"), num("2")})},
            {"{ \"a\" :\n\"b\" }", obj({{"a", str("b")}})},
            {"[\r\n]", arr({})},
            {"", kRefused},
            {" \n ", kRefused},
            // Only space, tab, CR and LF are blanks.
            {"\f[]", kRefused},
            {"\v[]", kRefused},
            {"[]\f", kRefused},
            {"\xC2\xA0[]", kRefused},
            {"\xEF\xBB\xBF[]", kRefused},
        });
}

TEST(JsonReader, TruncatedText) {
    for (const JsonRules rules : {kStrict, kLenient})
        expectReads(rules, {
            {"{", kRefused},
            {R"({"a")", kRefused},
            {R"({"a":)", kRefused},
            {R"({"a":1)", kRefused},
            {R"({"a":1,)", kRefused},
            {"[", kRefused},
            {"[1", kRefused},
            {"[1,", kRefused},
            {R"("abc)", kRefused},
            {R"("ab\)", kRefused},
            {R"(["\u00)", kRefused},
            {R"(["\ud83d\ude0)", kRefused},
        });
}

TEST(JsonReader, TextAfterTheValue) {
    for (const JsonRules rules : {kStrict, kLenient})
        expectReads(rules, {
            {"{} x", kRefused},
            {"[1]]", kRefused},
            {R"("a"b)", kRefused},
            {std::string("{}\0", 3), kRefused},
            {"1 2", kRefused},
            {"null,", kRefused},
            {R"({"a":1}})", kRefused},
            {"[] []", kRefused},
        });
}

TEST(JsonReader, LenientStrings) {
    expectReads(kLenient, {
        {R"("\n\t\r\"\\")", str("\n\t\r\"\\")},
        // Any other escape gives its letter; \u escapes stay as letters.
        {R"("\b\f\/\q")", str("bf/q")},
        {R"("\u00e9\ud83d")", str("u00e9ud83d")},
        // Any raw byte.
        {std::string("\"a\nb\x01\xFF\0\"", 8), str(std::string("a\nb\x01\xFF\0", 6))},
        {R"("abc)", kRefused},
    });
}

TEST(JsonReader, LenientBareWords) {
    expectReads(kLenient, {
        {"[true,false,null]", arr({kTrue, kFalse, kNull})},
        // Any other run of bytes up to a comma, a closing bracket or a blank.
        {"[1x, +2, NaN,01,tru]", arr({num("1x"), num("+2"), num("NaN"), num("01"), num("tru")})},
        {R"({"a":x"y:z})", obj({{"a", num("x\"y:z")}})},
        {"-", num("-")},
        {"[1,]", kRefused},
        {R"({"a":})", kRefused},
        {R"({"a":1,})", kRefused},
    });
}

TEST(JsonReader, AStepByStepWalkStopsAtTheMemberItWants) {
    // An object's members up to "status"; what follows it is never read.
    JsonReader reader("\xEF\xBB\xBF { \"a\" : [1, {\"b\": \"}\"}] , \"status\" : 1, \"rest\": \"cut sh", kLenient);
    reader.skipByteOrderMark();
    EXPECT_FALSE(reader.take('['));
    EXPECT_TRUE(reader.take('{'));
    EXPECT_EQ(reader.string(), "a");
    EXPECT_TRUE(reader.take(':'));
    EXPECT_TRUE(reader.skipValue());
    EXPECT_TRUE(reader.take(','));
    EXPECT_EQ(reader.string(), "status");
    EXPECT_TRUE(reader.take(':'));
    EXPECT_EQ(reader.value(), num("1"));
    EXPECT_FALSE(reader.atEnd());
}

}  // namespace
}  // namespace tiqora
