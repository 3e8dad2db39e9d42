#include "base/ByteSearch.h"

#include <gtest/gtest.h>

#include <string>

// The byte at every place of the first words and of the tail, among bytes that differ from
// it in one bit or sit just below it, with a second one after it.
TEST(FindByte, FindsTheFirstOfItsBytesWhereverItIsAndNothingElse)
{
    for (const char sought : {'\n', '\0', '%', '\x8a'}) {
        for (std::size_t size = 0; size <= 20; ++size) {
            std::string bytes(size, static_cast<char>(sought ^ '\x80'));
            for (std::size_t i = 0; i < size; i += 2)
                bytes[i] = static_cast<char>(sought - 1);
            EXPECT_EQ(base::FindByte(bytes, sought), std::string::npos) << size;
            for (std::size_t at = 0; at < size; ++at) {
                std::string with = bytes;
                with[at] = sought;
                if (at + 1 < size)
                    with[at + 1] = sought; // a second one after it does not count
                if (at > 0)
                    with[at - 1] = static_cast<char>(sought ^ 1); // nor a near miss before it
                EXPECT_EQ(base::FindByte(with, sought), at) << int(sought) << " " << size << " " << at;
            }
        }
    }
}
