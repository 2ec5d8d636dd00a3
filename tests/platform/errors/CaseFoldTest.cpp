#include "platform/shell/MCaseFold.h"

#include <gtest/gtest.h>

TEST(CaseFold, FoldsLettersBeyondAscii) {
    EXPECT_TRUE(MCaseFold::Equal("\\\\SERVER\\ÉTUDES\\Café.txt", "\\\\server\\Études\\CAFÉ.TXT"));
    EXPECT_TRUE(MCaseFold::Equal("ΣΟΦΊΑ", "σοφία"));
    EXPECT_TRUE(MCaseFold::Equal("ПРИВЕТ", "привет"));
    // The long s and the final sigma fold with their plain forms.
    EXPECT_EQ(MCaseFold::Fold("ſ"), MCaseFold::Fold("s"));
    EXPECT_EQ(MCaseFold::Fold("ς"), MCaseFold::Fold("Σ"));
    EXPECT_FALSE(MCaseFold::Equal("Étude", "Etude"));
}

TEST(CaseFold, KeepsSeparatorsDigitsAndMalformedBytes) {
    EXPECT_EQ(MCaseFold::Fold("c:\\docs/report-1.txt"), "C:\\DOCS/REPORT-1.TXT");
    // A lone continuation byte, a truncated sequence and an overlong form pass through.
    const std::string sMalformed = std::string("a\x80") + "b\xC3" + "\xC0\xAF";
    EXPECT_EQ(MCaseFold::Fold(sMalformed), std::string("A\x80") + "B\xC3" + "\xC0\xAF");
    EXPECT_EQ(MCaseFold::Fold("日本語.LNK"), "日本語.LNK");
}
