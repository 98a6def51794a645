#include <gtest/gtest.h>

#include "ondrelo/com.h"

namespace {

constexpr GUID kPopkinard = ondrelo::com::MakeGuid("{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}");

TEST(Guid, ParsesTheBracedFormInEitherCase) {
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}", true},
        {"{cc45ada4-c5f8-4c98-bed8-ed14a2d83d57}", true},
        {"{Cc45AdA4-c5F8-4C98-bEd8-Ed14a2D83d57}", true},
        {"CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57", false},     // no braces
        {"{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57", false},    // no closing brace
        {"{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D570}", false},  // one digit too many
        {"{CC45ADA4-C5F84C98-BED8-ED14A2D83D57-}", false},   // dash moved
        {"{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D5G}", false},   // not a hex digit
        {"{CC45ADA4 C5F8 4C98 BED8 ED14A2D83D57}", false},
        {" {CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}", false},  // leading blank
        {"", false},
    };
    for (const Case& c : cases) {
        CLSID clsid = ondrelo::com::MakeGuid("{11111111-2222-3333-4444-555555555555}");
        const HRESULT hr = CLSIDFromString(c.text, &clsid);
        if (c.ok) {
            EXPECT_EQ(hr, S_OK) << c.text;
            EXPECT_EQ(clsid, kPopkinard) << c.text;
        } else {
            EXPECT_EQ(hr, CO_E_CLASSSTRING) << c.text;
            EXPECT_EQ(clsid, GUID_NULL) << c.text;
        }
    }
}

TEST(Guid, FieldsLandInTheirPlaces) {
    EXPECT_EQ(kPopkinard.Data1, 0xCC45ADA4u);
    EXPECT_EQ(kPopkinard.Data2, 0xC5F8u);
    EXPECT_EQ(kPopkinard.Data3, 0x4C98u);
    const std::uint8_t tail[8] = {0xBE, 0xD8, 0xED, 0x14, 0xA2, 0xD8, 0x3D, 0x57};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(kPopkinard.Data4[i], tail[i]) << i;
    }
}

TEST(Guid, FormatsUpperCaseAndRoundTrips) {
    const char* texts[] = {
        "{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}", "{00000000-0000-0000-C000-000000000046}",
        "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}", "{00000000-0000-0000-0000-000000000000}"};
    for (const char* text : texts) {
        CLSID clsid;
        ASSERT_EQ(CLSIDFromString(text, &clsid), S_OK);
        EXPECT_EQ(ondrelo::com::GuidToString(clsid), text);
    }
    CLSID lower;
    ASSERT_EQ(CLSIDFromString("{cc45ada4-c5f8-4c98-bed8-ed14a2d83d57}", &lower), S_OK);
    EXPECT_EQ(ondrelo::com::GuidToString(lower), "{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}");
}

TEST(Guid, WideFormsAndBufferLimits) {
    CLSID clsid;
    EXPECT_EQ(CLSIDFromString(u"{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}", &clsid), S_OK);
    EXPECT_EQ(clsid, kPopkinard);
    // A wide character beyond ASCII can never belong to an identifier.
    EXPECT_EQ(CLSIDFromString(u"{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D5\u0967}", &clsid),
              CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromString(u"{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}{", &clsid),
              CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromString(static_cast<LPCOLESTR>(nullptr), &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromString(u"{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}", nullptr), E_INVALIDARG);

    WCHAR buffer[39];
    EXPECT_EQ(StringFromGUID2(kPopkinard, buffer, 38), 0);
    ASSERT_EQ(StringFromGUID2(kPopkinard, buffer, 39), 39);
    EXPECT_EQ(std::u16string(buffer), u"{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}");
}

TEST(Status, SignDecidesSuccess) {
    EXPECT_TRUE(SUCCEEDED(S_OK));
    EXPECT_TRUE(SUCCEEDED(S_FALSE));
    for (HRESULT hr : {E_FAIL, E_NOINTERFACE, E_POINTER, E_OUTOFMEMORY, CLASS_E_NOAGGREGATION,
                       CLASS_E_CLASSNOTAVAILABLE, REGDB_E_CLASSNOTREG, CO_E_NOTINITIALIZED}) {
        EXPECT_TRUE(FAILED(hr)) << hr;
    }
    EXPECT_EQ(HRESULT_FROM_WIN32(0), S_OK);
    EXPECT_EQ(static_cast<std::uint32_t>(HRESULT_FROM_WIN32(5)), 0x80070005u);
}

}  // namespace
