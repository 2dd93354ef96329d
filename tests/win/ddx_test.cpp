// Reading an integer from an edit box's text the way "%d" does, without
// overflow however long the number.
#include "framework/ddx.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct ScanCase {
    const wchar_t* text;
    std::optional<long long> expected;
};

TEST(ScanLeadingInt, ReadsLikeScanfPercentD)
{
    const ScanCase cases[] = {
        {L"0", 0},
        {L"-0", 0},
        {L"  300", 300},
        {L"\t\r\n 8", 8},
        {L"250ms", 250},
        {L"+12", 12},
        {L"-1", -1},
        {L"12 34", 12},
        {L"", std::nullopt},
        {L"   ", std::nullopt},
        {L"abc", std::nullopt},
        {L"+", std::nullopt},
        {L"-x", std::nullopt},
        {L"+-1", std::nullopt},
        {L"\x3000"
         L"5",
         std::nullopt},             // an ideographic space is no blank for %d
        {L"\xFF15", std::nullopt},  // nor is a full-width digit a digit
    };
    for (const ScanCase& c : cases)
        EXPECT_EQ(ScanLeadingInt(c.text), c.expected) << "text of length " << std::wcslen(c.text);
}

TEST(ScanLeadingInt, HugeNumbersStayBeyondTheIntRange)
{
    const std::wstring digits(60, L'9');
    const std::optional<long long> large = ScanLeadingInt(digits);
    const std::optional<long long> small = ScanLeadingInt(L"-" + digits);
    ASSERT_TRUE(large.has_value());
    ASSERT_TRUE(small.has_value());
    EXPECT_GT(*large, static_cast<long long>(INT_MAX));
    EXPECT_LT(*small, static_cast<long long>(INT_MIN));
    EXPECT_EQ(ScanLeadingInt(L"2147483647"), INT_MAX);
    EXPECT_EQ(ScanLeadingInt(L"-2147483648"), INT_MIN);
    EXPECT_EQ(ScanLeadingInt(L"2147483648"), 2147483648LL);
}

TEST(AfxFormatString2, ReplacesBothPlaceholders)
{
    EXPECT_EQ(AfxFormatString2(L"%1-%2-%1", L"a", L"bc"), L"a-bc-a");
    EXPECT_EQ(AfxFormatString2(L"100% %3", L"a", L"b"), L"100% %3");
    EXPECT_EQ(AfxFormatString2(L"end %", L"a", L"b"), L"end %");
}

}  // namespace
