#include "platform/text_input.h"

#include <gtest/gtest.h>

#include <string>

namespace zeb {
namespace {

std::string readAll(const std::string& bytes) {
    MemoryTextInput input(bytes);
    std::string out;
    for (int c = input.get(); c != kEndOfFile; c = input.get()) {
        out += static_cast<char>(c);
    }
    return out;
}

TEST(TextInput, DropsEveryCarriageReturnRightBeforeALineFeed) {
    EXPECT_EQ(readAll("a\r\nb\n"), "a\nb\n");
    EXPECT_EQ(readAll("a\r\r\nb\r\r\r\n"), "a\nb\n");
}

TEST(TextInput, DeliversEveryOtherByteUnchanged) {
    EXPECT_EQ(readAll("a\rb"), "a\rb");
    EXPECT_EQ(readAll("a\r\rb\r"), "a\r\rb\r");
    EXPECT_EQ(readAll(std::string("\0\xff\x80 \t", 5)), std::string("\0\xff\x80 \t", 5));
    EXPECT_EQ(readAll(std::string(100000, '\r')), std::string(100000, '\r'));
}

TEST(TextInput, AByteOf255IsNotTheEndOfTheFile) {
    MemoryTextInput input("\xff");
    EXPECT_EQ(input.get(), 255);
    EXPECT_EQ(input.get(), kEndOfFile);
    EXPECT_EQ(input.get(), kEndOfFile);
}

}  // namespace
}  // namespace zeb
