// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/HostIdentification.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int Classify(const std::string& name)
{
    return static_cast<int>(ClassifyHostName(name.c_str()));
}

std::string Narrow(const std::u16string& utf16)
{
    char16_t buffer[kHostNameSize] = {};
    utf16.copy(buffer, kHostNameSize);
    char name[kHostNameSize];
    NarrowHostName(buffer, name);
    return name;
}

}  // namespace

TEST(HostIdentification, KeyWordsMatchInAnyLetterCase)
{
    EXPECT_EQ(Classify("Cubase Pro 13"), 3);
    EXPECT_EQ(Classify("CUBASE"), 3);
    EXPECT_EQ(Classify("my cUbAsE build"), 3);
    EXPECT_EQ(Classify("PreSonus Studio One"), 26);
    EXPECT_EQ(Classify("VST3PluginTestHost"), 27);
    EXPECT_EQ(Classify("Ardour 8.4"), 28);
    EXPECT_EQ(Classify("REAPER"), 1);
    EXPECT_EQ(Classify("Renoise"), 29);
    EXPECT_EQ(Classify("OpenMPT"), 30);
    EXPECT_EQ(Classify("Standalone"), 24);
}

TEST(HostIdentification, TableOrderDecidesNotPositionInTheName)
{
    EXPECT_EQ(Classify("Reaper hosting Cubase"), 3);
    EXPECT_EQ(Classify("Cubase Live"), 3);
    EXPECT_EQ(Classify("Nuendo Live"), 4);
    // "digital" comes after "live" in the table.
    EXPECT_EQ(Classify("Digital Live Performer"), 9);
}

TEST(HostIdentification, KeysAreFoundInsideLongerWords)
{
    EXPECT_EQ(Classify("Ableton Live 12"), 9);
    EXPECT_EQ(Classify("Deliverance Audio"), 9);
    EXPECT_EQ(Classify("ProTools"), 2);
}

TEST(HostIdentification, UnknownAndEmptyNamesAreZero)
{
    EXPECT_EQ(Classify(""), 0);
    EXPECT_EQ(static_cast<int>(ClassifyHostName(nullptr)), 0);
    EXPECT_EQ(Classify("Bitwig Studio"), 0);
    EXPECT_EQ(Classify("cu base"), 0);
    // Only A..Z are lower-cased: a byte above 127 stays as it is.
    EXPECT_EQ(Classify("\xC3\x84rdour"), 0);
}

TEST(HostIdentification, OnlyTheFirst255CharactersAreSearched)
{
    EXPECT_EQ(Classify(std::string(249, 'x') + "cubase"), 3);
    EXPECT_EQ(Classify(std::string(250, 'x') + "cubase"), 0);
}

TEST(HostIdentification, NarrowingKeepsTheLowByteOfEachUnit)
{
    EXPECT_EQ(Narrow(u"Cubase"), "Cubase");
    // U+0152 has the low byte 0x52 ('R').
    EXPECT_EQ(Narrow(u"\u0152eaper"), "Reaper");
    EXPECT_EQ(Classify(Narrow(u"\u0152EAPER")), 1);
    EXPECT_EQ(Narrow(u""), "");
}

TEST(HostIdentification, NarrowingStopsAtTheTerminatorOrAfter127Characters)
{
    std::u16string withTail = u"Live";
    withTail.push_back(u'\0');
    withTail += u"cubase";
    EXPECT_EQ(Narrow(withTail), "Live");

    const std::u16string full(kHostNameSize, u'a');  // no terminator at all
    EXPECT_EQ(Narrow(full), std::string(127, 'a'));

    char name[kHostNameSize];
    name[0] = 'x';
    NarrowHostName(nullptr, name);
    EXPECT_STREQ(name, "");
}
