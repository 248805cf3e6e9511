#include "core/config/registry_value.h"

#include <gtest/gtest.h>

namespace tiqora {
namespace {

using namespace std::string_literals;

TEST(RegistryStringValue, TerminatorsBufferFillAndEmbeddedNuls) {
    struct Case {
        std::u16string returned;
        std::size_t capacity;
        std::optional<std::u16string> value;
    } cases[] = {
        {u"abc\0"s, 128, u"abc"},
        {u"abc"s, 128, u"abc"},                  // stored without a terminator
        {u"abc\0\0\0"s, 128, u"abc"},            // several terminators
        {u""s, 128, u""},                        // empty value
        {u"\0"s, 128, u""},
        {u"ab\0cd\0"s, 128, u"ab"},              // text after an embedded NUL
        {u"abc\0"s, 4, u"abc"},                  // fits with its terminator exactly
        {u"abcd"s, 4, std::nullopt},             // fills the buffer, no room for a terminator
        {u"abcdef"s, 4, std::nullopt},           // reported longer than the buffer
        {u"ab\0d"s, 4, std::nullopt},            // the stored value fills the buffer: too long
        {std::u16string(127, u'x') + u'\0', 128, std::u16string(127, u'x')},
        {std::u16string(128, u'x'), 128, std::nullopt},
        {u""s, 0, std::nullopt},                 // no buffer at all
    };
    for (const auto& c : cases) {
        EXPECT_EQ(registryStringValue(c.returned, c.capacity), c.value) << "capacity " << c.capacity;
    }
}

}  // namespace
}  // namespace tiqora
