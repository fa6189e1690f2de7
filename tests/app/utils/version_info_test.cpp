#include "app/files/version_info.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "app/files/elf_section.h"
#include "app/files/image_bytes.h"
#include "app/files/pe_version_resource.h"
#include "app/files/version_block.h"
#include "app/files/version_block_builder.h"
#include "version_test_support.h"

using version_test::FindUtf16;
using version_test::FixturePath;
using version_test::ReadAll;

namespace {

std::string VersionOf(const std::vector<std::uint8_t>& image)
{
    return utils::GetImageVersionText(image);
}

// The String entries of a VS_VERSIONINFO block, walked by their lengths as a
// Windows reader would: "table/key" -> value.
using StringEntries = std::map<std::u16string, std::u16string>;

struct Node {
    std::size_t start, length, valueLength, type;
    std::u16string key;
    std::size_t value;  // offset of the value
};

Node ReadNode(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t limit)
{
    Node n{at, utils::Le16(&b.at(at)), utils::Le16(&b.at(at + 2)), utils::Le16(&b.at(at + 4)), {}, 0};
    if (n.length < 6 || at + n.length > limit) throw std::runtime_error("block outside its parent");
    std::size_t p = at + 6;
    for (char16_t c; (c = utils::Le16(&b.at(p))) != 0; p += 2) n.key += c;
    n.value = (p + 2 + 3) & ~std::size_t{3};
    return n;
}

// Children of a node start after its value, each on a 4-byte boundary.
std::vector<Node> Children(const std::vector<std::uint8_t>& b, const Node& parent, std::size_t valueBytes)
{
    std::vector<Node> children;
    const std::size_t end = parent.start + parent.length;
    for (std::size_t at = (parent.value + valueBytes + 3) & ~std::size_t{3}; at < end;) {
        children.push_back(ReadNode(b, at, end));
        at = (at + children.back().length + 3) & ~std::size_t{3};
    }
    return children;
}

StringEntries ReadStrings(const std::vector<std::uint8_t>& block)
{
    const Node root = ReadNode(block, 0, block.size());
    StringEntries entries;
    for (const Node& info : Children(block, root, root.valueLength)) {
        if (info.key != u"StringFileInfo") continue;
        for (const Node& table : Children(block, info, 0)) {
            for (const Node& s : Children(block, table, 0)) {
                std::u16string value;
                for (std::size_t i = 0; i + 1 < s.valueLength; ++i) value += utils::Le16(&block.at(s.value + 2 * i));
                entries[table.key + u"/" + s.key] = value;
            }
        }
    }
    return entries;
}

std::vector<std::uint8_t> OwnVersionSection()
{
    const auto file = utils::FileImage::Open(VK_SELF_FILE);
    if (!file) throw std::runtime_error("cannot open the test executable");
    const auto range = utils::FindElfSection(*file, utils::kVersionSectionName);
    if (!range) throw std::runtime_error("no version section");
    return *file->ReadBytes(range->offset, range->size);
}

}  // namespace

TEST(GetFileVersionText, ReadsTheResourceEmbeddedByTheBuild)
{
    EXPECT_EQ(utils::GetFileVersionText(VK_SELF_FILE), VK_PROGRAM_VERSION);
}

TEST(GetFileVersionText, EmbeddedResourceCarriesTheProgramsStrings)
{
    const StringEntries strings = ReadStrings(OwnVersionSection());
    EXPECT_EQ(strings.at(u"041504E2/FileVersion"), u"" VK_PROGRAM_VERSION);
    EXPECT_EQ(strings.at(u"041504E2/ProductVersion"), u"" VK_PROGRAM_VERSION);
    EXPECT_EQ(strings.at(u"041504E2/FileDescription"), u"Patch QLT_1.2.6.2-02_V");
    EXPECT_EQ(strings.at(u"041504E2/ProductName"), u"Vidarkon Patch");
    EXPECT_EQ(strings.at(u"041504E2/Comments"), u"Patch modyfikujący bazy w programie Vidarkon.");
    EXPECT_EQ(strings.at(u"041504E2/InternalName"), u"vidarkon-patch");
    EXPECT_EQ(strings.size(), 9u);
}

TEST(GetFileVersionText, ReadsWindowsExecutablesMadeByAResourceCompiler)
{
    EXPECT_EQ(utils::GetFileVersionText(FixturePath("pe64-version.exe")), "10.65535.0.7");
    EXPECT_EQ(utils::GetFileVersionText(FixturePath("pe32-version.dll")), "1.2.6.2");
    EXPECT_EQ(utils::GetFileVersionText(FixturePath("pe64-noversion.exe")), "0.0.0.0");
}

TEST(GetFileVersionText, FilesWithoutAResourceOrUnreadableGiveZeros)
{
    const auto dir = std::filesystem::temp_directory_path();
    const std::string text = (dir / "vk-version-plain.txt").string();
    std::ofstream(text) << "MZ but nothing more";
    const std::string empty = (dir / "vk-version-empty").string();
    std::ofstream{empty};

    EXPECT_EQ(utils::GetFileVersionText(text), "0.0.0.0");
    EXPECT_EQ(utils::GetFileVersionText(empty), "0.0.0.0");
    EXPECT_EQ(utils::GetFileVersionText(dir.string()), "0.0.0.0");
    EXPECT_EQ(utils::GetFileVersionText((dir / "vk-version-missing").string()), "0.0.0.0");
    EXPECT_EQ(utils::GetFileVersionText(""), "0.0.0.0");
    std::filesystem::remove(text);
    std::filesystem::remove(empty);
}

TEST(GetFileVersionText, ResourceWithoutFixedInformationGivesEmptyText)
{
    std::vector<std::uint8_t> pe = ReadAll(FixturePath("pe64-version.exe"));
    const std::size_t key = FindUtf16(pe, u"VS_VERSION_INFO");
    ASSERT_NE(key, std::string::npos);
    const std::size_t root = key - 6;

    auto valueLengthZero = pe;
    valueLengthZero[root + 2] = valueLengthZero[root + 3] = 0;
    EXPECT_EQ(VersionOf(valueLengthZero), "");

    auto wrongSignature = pe;
    wrongSignature[key + 32 + 2] ^= 0x01;  // value follows the key, aligned
    EXPECT_EQ(VersionOf(wrongSignature), "");

    auto wrongKey = pe;
    wrongKey[key] = 'X';
    EXPECT_EQ(VersionOf(wrongKey), "");

    // And in our own ELF section.
    std::vector<std::uint8_t> self = ReadAll(VK_SELF_FILE);
    const auto range = utils::FindElfSection(utils::SpanImage(self), utils::kVersionSectionName);
    ASSERT_TRUE(range);
    self[range->offset + 2] = self[range->offset + 3] = 0;
    EXPECT_EQ(VersionOf(self), "");
}

TEST(ParseVersionInfo, BlocksFromTheBuilder)
{
    static constexpr utils::VersionStringEntry kStrings[] = {{u"FileVersion", u"65535.10.0.9"}};
    utils::VersionResourceContents contents;
    contents.fileVersion = {65535, 10, 0, 9};
    contents.productVersion = {1, 1, 1, 1};
    contents.language = 1045;
    contents.codePage = 1200;
    contents.strings = kStrings;

    const auto block = utils::MakeVersionBlock(contents);
    const auto version = utils::ParseVersionInfo(block);
    ASSERT_TRUE(version);
    EXPECT_EQ(utils::FormatFileVersion(*version), "65535.10.0.9");
    EXPECT_EQ(ReadStrings(block).at(u"041504B0/FileVersion"), u"65535.10.0.9");

    // A stated length beyond the bytes at hand is damage, not a version.
    EXPECT_FALSE(utils::ParseVersionInfo(std::span(block).first(block.size() - 1)));

    contents.withFixedInfo = false;
    const auto bare = utils::MakeVersionBlock(contents);
    EXPECT_FALSE(utils::ParseVersionInfo(bare));
    EXPECT_EQ(ReadStrings(bare).at(u"041504B0/FileVersion"), u"65535.10.0.9");
}

TEST(GetFileVersionText, TruncatedWindowsExecutableNeverGivesAWrongVersion)
{
    const std::vector<std::uint8_t> pe = ReadAll(FixturePath("pe64-version.exe"));
    const auto range = utils::FindPeVersionResource(utils::SpanImage(pe));
    ASSERT_TRUE(range);
    const std::size_t resourceEnd = range->offset + range->size;
    for (std::size_t cut = 0; cut <= pe.size(); ++cut) {
        const std::string expected = cut < resourceEnd ? "0.0.0.0" : "10.65535.0.7";
        ASSERT_EQ(utils::GetImageVersionText(std::span(pe).first(cut)), expected) << "cut at " << cut;
    }
}

TEST(GetFileVersionText, TruncatedOwnExecutableGivesZeros)
{
    // The section table sits at the end of the file, so every cut loses it.
    const std::vector<std::uint8_t> self = ReadAll(VK_SELF_FILE);
    const std::size_t step = self.size() / 97 + 1;
    for (std::size_t cut = 0; cut < self.size(); cut += step)
        ASSERT_EQ(utils::GetImageVersionText(std::span(self).first(cut)), "0.0.0.0") << "cut at " << cut;
    for (std::size_t cut = self.size() - 70; cut < self.size(); ++cut)
        ASSERT_EQ(utils::GetImageVersionText(std::span(self).first(cut)), "0.0.0.0") << "cut at " << cut;
}
