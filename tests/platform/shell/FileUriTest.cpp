#include "platform/shell/MFileUri.h"

#include <gtest/gtest.h>

namespace {

TEST(FileUri, PathsRoundTripThroughUrisByteForByte) {
    std::string sAllBytes = "/";
    for (int c = 1; c < 256; ++c) {
        sAllBytes += static_cast<char>(c);
    }
    const std::string sUri = MFileUri::FromPath(sAllBytes);
    EXPECT_EQ(sUri.find_first_of(" #?%\"<>\\^`{|}", 7), sUri.find('%', 7))
        << "nothing but escapes holds a reserved character";
    EXPECT_EQ(MFileUri::ToPath(sUri), sAllBytes);
    EXPECT_EQ(MFileUri::FromPath("/home/ann/Été 1.odt"), "file:///home/ann/%C3%89t%C3%A9%201.odt");
}

TEST(FileUri, OnlyLocalFileUrisGiveAPath) {
    EXPECT_EQ(MFileUri::ToPath("file:///home/a%20b.txt"), "/home/a b.txt");
    EXPECT_EQ(MFileUri::ToPath("FILE://LocalHost/x%c3%a9"), "/x\xc3\xa9");
    EXPECT_EQ(MFileUri::ToPath("file:/x"), "/x");
    EXPECT_EQ(MFileUri::ToPath("file://server/share/x"), std::nullopt);
    EXPECT_EQ(MFileUri::ToPath("file://localhost.example/x"), std::nullopt);
    EXPECT_EQ(MFileUri::ToPath("https://example.org/x"), std::nullopt);
    EXPECT_EQ(MFileUri::ToPath("file:relative"), std::nullopt);
    EXPECT_EQ(MFileUri::ToPath("file://"), std::nullopt);
    EXPECT_EQ(MFileUri::ToPath("file:///a#fragment"), std::nullopt);
    for (const char* szBroken : {"file:///a%2", "file:///a%", "file:///a%zz", "file:///a%00b"}) {
        EXPECT_EQ(MFileUri::ToPath(szBroken), std::nullopt) << szBroken;
    }
}

} // namespace
