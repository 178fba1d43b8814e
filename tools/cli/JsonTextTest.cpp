#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "JsonText.h"

namespace {

using Cli::Json;

TEST(JsonText, RealsPrintInTheirShortestRoundTripForm)
{
    Json value;
    value["zero"] = 0.0;
    value["whole"] = 100.0;
    value["price"] = 12.5;
    value["negativeZero"] = -0.0;
    value["small"] = 0.00001;
    value["large"] = 1e21;
    value["third"] = 1.0 / 3;
    value["nan"] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Cli::JsonText::line(value),
              "{\"zero\":0,\"whole\":100,\"price\":12.5,\"negativeZero\":-0,\"small\":1e-05,"
              "\"large\":1e+21,\"third\":0.3333333333333333,\"nan\":null}");
}

TEST(JsonText, IntegersAndTextsThatLookLikeNumbersStayAsTheyAre)
{
    Json value;
    value["min"] = std::numeric_limits<std::int64_t>::min();
    value["max"] = std::numeric_limits<std::uint64_t>::max();
    value["list"] = {-1, 0, 2.5, true, nullptr};
    value["1.50"] = "1.50e3 -0.0";
    EXPECT_EQ(Cli::JsonText::line(value),
              "{\"min\":-9223372036854775808,\"max\":18446744073709551615,"
              "\"list\":[-1,0,2.5,true,null],\"1.50\":\"1.50e3 -0.0\"}");
}

TEST(JsonText, ControlCharactersOtherThanNewlineReturnAndTabAreEscapedAsCodes)
{
    Json value;
    value["k\b"] = "\b\f\x01\x1f\x7f\n\r\t\"\\/ \xC3\xA9";
    EXPECT_EQ(Cli::JsonText::line(value),
              "{\"k\\u0008\":\"\\u0008\\u000c\\u0001\\u001f\x7f\\n\\r\\t\\\"\\\\/ \xC3\xA9\"}");
}

TEST(JsonText, BytesAreTheCharactersUpToU00FF)
{
    EXPECT_EQ(Cli::JsonText::bytes("caf\xE9\x01"), "caf\xC3\xA9\x01");
    EXPECT_EQ(Cli::JsonText::utf8(L"Zo\u00EB"), "Zo\xC3\xAB");
}

}  // namespace
