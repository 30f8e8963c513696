#include "site/formencoding.h"

#include <gtest/gtest.h>

namespace zob {
namespace {

TEST(FormEncoding, EncodesTheValueAsAFormPostDoes) {
    EXPECT_EQ(formEncodedField("search=Kate"), "search=Kate");
    EXPECT_EQ(formEncodedField("search=Emil Berg"), "search=Emil+Berg");
    // Characters that would end the field or the value are escaped.
    EXPECT_EQ(formEncodedField("search=A&B=C%"), "search=A%26B%3DC%25");
    EXPECT_EQ(formEncodedField("search=Caf\xC3\xA9"), "search=Caf%C3%A9");
    EXPECT_EQ(formEncodedField("search="), "search=");
    EXPECT_EQ(formEncodedField("a b"), "a+b");
}

} // namespace
} // namespace zob
