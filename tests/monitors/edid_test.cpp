#include "monitors/edid.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace lv {
namespace {

// Base blocks as published by the Linux hardware EDID collection (github.com/linuxhw/EDID).
struct RealBlock {
    const char* name;
    const char* hex;
    const char* model;
};

const RealBlock kRealBlocks[] = {
    // Digital/LG Display/LGD038E/C6ED6335F3BE: 0xFE "LG Display\n  " at 90, then
    // 0xFE "LP156WH4-TLN2" at 108.
    {"LaterPartNumberAfterMakerName",
     "00ffffffffffff0030e48e030000000000160103802213780a01a59c595a9b2618505400000001010101010101010101"
     "010101010101581b567e50000e302430350058c210000019000000000000000000000000000000000000000000fe004c"
     "4720446973706c61790a2020000000fe004c503135365748342d544c4e3200c6",
     "LP156WH4-TLN2"},
    // Digital/AU Optronics/AUO102D/ACF9DE97755B: 0xFE at 90 with a byte above 0x7F.
    {"TextWithHighByte",
     "00ffffffffffff0006af2d1000000000001a0104951d117802c314935859922922515700000001010101010101010101"
     "010101010101143780b87038244010103e0025a51000001a242c80b87038244010103e0025a51000001a000000fe0046"
     "435447388142313333484142000000000000412296001100000a010a20200063",
     "FCTG8\x81"
     "B133HAB"},
    // Digital/AU Optronics/AUO0F03/50504AD767BF: only "AUO\n" under 0xFE, the part
    // number under the manufacturer tag 0x0F.
    {"ShortMakerNameOnly",
     "00ffffffffffff0006af030f00000000110e0103801e17780a848590524f892824505400000001010101010101010101"
     "010101010101302a7820511a10401838130031e4100000180000000f0042313530504730332056203001000000fe0041"
     "554f0a2020202020202020200000000f004231353050473033205620300a006f",
     ""},
};

std::vector<uint8_t> FromHex(std::string_view hex) {
    std::vector<uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return bytes;
}

// ---- Constructed blocks ----

struct Descriptor {
    std::size_t offset;
    std::array<uint8_t, 5> header;
    std::string_view text;  // up to 13 bytes; the rest is padded with spaces
};

constexpr std::array<uint8_t, 5> kAlphanumeric = {0, 0, 0, 0xFE, 0};
constexpr std::array<uint8_t, 5> kMonitorName = {0, 0, 0, 0xFC, 0};

std::array<uint8_t, 128> Block(std::initializer_list<Descriptor> descriptors) {
    std::array<uint8_t, 128> block{};
    const uint8_t header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::memcpy(block.data(), header, sizeof header);
    // A detailed timing in the first slot unless a test puts a descriptor there.
    block[54] = 0x02;
    block[55] = 0x3A;
    for (const Descriptor& d : descriptors) {
        std::memcpy(block.data() + d.offset, d.header.data(), d.header.size());
        std::memset(block.data() + d.offset + 5, ' ', 13);
        std::memcpy(block.data() + d.offset + 5, d.text.data(), std::min<std::size_t>(d.text.size(), 13));
    }
    return block;
}

struct ConstructedCase {
    const char* name;
    std::array<uint8_t, 128> block;
    const char* model;
};

const ConstructedCase kConstructed[] = {
    {"MonitorNameBesideAlphanumeric", Block({{72, kMonitorName, "DELL U2720Q\n"}, {90, kAlphanumeric, "CN0ABC123\n"}}),
     "CN0ABC123"},
    {"OtherTagIsNotUsed", Block({{72, {0, 0, 0, 0xFF, 0}, "SERIAL12345\n"}}), ""},
    {"NonZeroByte1IsATiming", Block({{72, {0, 1, 0, 0xFE, 0}, "U2720Q\n"}}), ""},
    {"NonZeroByte4", Block({{72, {0, 0, 0, 0xFE, 1}, "U2720Q\n"}}), ""},
    {"FiveCharactersAreTooFew", Block({{90, kAlphanumeric, "AB123\n"}}), ""},
    {"SpacesBecomeDashes", Block({{90, kAlphanumeric, " AB CD\n"}}), "-AB-CD"},
    {"PaddingSpacesWithoutEnd", Block({{90, kAlphanumeric, "B140HAN"}}), "B140HAN------"},
    {"CarriageReturnEnds", Block({{90, kAlphanumeric, "U2720Q\rXYZ"}}), "U2720Q"},
    {"ZeroByteEnds", Block({{90, kAlphanumeric, std::string_view("ABCDEFG\0XYZ", 11)}}), "ABCDEFG"},
    {"EndBeforeSixCharacters", Block({{90, kAlphanumeric, "U27\n20Q"}}), ""},
    {"LaterOverwritesEarlier", Block({{54, kAlphanumeric, "FIRST-MODEL\n"}, {108, kAlphanumeric, "SECOND-MODEL\n"}}),
     "SECOND-MODEL"},
    {"LaterTooShortKeepsEarlier", Block({{72, kAlphanumeric, "B156HAN01.2\n"}, {90, kAlphanumeric, "AUO\n"}}),
     "B156HAN01.2"},
};

TEST(Edid, ModelTextFromTheAlphanumericDescriptors) {
    for (const RealBlock& real : kRealBlocks) {
        const std::vector<uint8_t> block = FromHex(real.hex);
        ASSERT_EQ(block.size(), 128u) << real.name;
        EXPECT_EQ(EdidModelText(block), real.model) << real.name;
    }
    for (const ConstructedCase& c : kConstructed) EXPECT_EQ(EdidModelText(c.block), c.model) << c.name;
}

TEST(Edid, OnlyAWholeBaseBlockIsRead) {
    const std::array<uint8_t, 128> block = Block({{54, kAlphanumeric, "U2720Q\n"}});
    for (const std::size_t size : {0u, 127u, 128u, 129u}) {
        std::vector<uint8_t> bytes(block.begin(), block.end());
        bytes.resize(size, 0);  // a cut block, or an extension block after it
        EXPECT_EQ(EdidModelText(bytes), size == 128 ? "U2720Q" : "") << size;
    }
}

}  // namespace
}  // namespace lv
