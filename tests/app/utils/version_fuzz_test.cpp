// Damaged and hostile executables: the reader must answer with a well-formed
// text and never read outside the bytes it was given (run under ASan/UBSan).
#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "app/files/elf_section.h"
#include "app/files/image_bytes.h"
#include "app/files/version_block_builder.h"
#include "app/files/version_info.h"
#include "version_test_support.h"

using version_test::FixturePath;
using version_test::ReadAll;

namespace {

std::vector<std::uint8_t> SampleBlock()
{
    utils::VersionResourceContents contents;
    contents.fileVersion = {3, 4, 5, 60000};
    contents.language = 1045;
    contents.codePage = 1250;
    return utils::MakeVersionBlock(contents);
}

class ElfWriter {
public:
    ElfWriter(bool is64, bool bigEndian) : is64_(is64), big_(bigEndian) {}
    void Put(std::vector<std::uint8_t>& out, std::size_t at, std::uint64_t value, int bytes) const
    {
        if (out.size() < at + bytes) out.resize(at + bytes);
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (big_ ? bytes - 1 - i : i);
            out[at + i] = static_cast<std::uint8_t>(value >> shift);
        }
    }
    void Word(std::vector<std::uint8_t>& out, std::size_t at, std::uint64_t value) const
    {
        Put(out, at, value, is64_ ? 8 : 4);
    }

    // Header, the name table, the block, then the section table: null,
    // .shstrtab, a decoy .vk_versionX and .vk_version.
    std::vector<std::uint8_t> Build(const std::vector<std::uint8_t>& block) const
    {
        const std::string names = std::string("\0.shstrtab\0.vk_versionX\0.vk_version\0", 36);
        const std::size_t header = is64_ ? 64 : 52;
        const std::size_t entry = is64_ ? 64 : 40;
        const std::size_t namesAt = header;
        const std::size_t blockAt = (namesAt + names.size() + 3) & ~std::size_t{3};
        const std::size_t tableAt = (blockAt + block.size() + 7) & ~std::size_t{7};

        std::vector<std::uint8_t> out(tableAt + 4 * entry);
        const std::uint8_t ident[] = {0x7F, 'E', 'L', 'F', std::uint8_t(is64_ ? 2 : 1), std::uint8_t(big_ ? 2 : 1), 1};
        std::copy(std::begin(ident), std::end(ident), out.begin());
        std::copy(names.begin(), names.end(), out.begin() + namesAt);
        std::copy(block.begin(), block.end(), out.begin() + blockAt);
        Word(out, is64_ ? 0x28 : 0x20, tableAt);
        Put(out, is64_ ? 0x3A : 0x2E, entry, 2);
        Put(out, is64_ ? 0x3C : 0x30, 4, 2);
        Put(out, is64_ ? 0x3E : 0x32, 1, 2);

        struct {
            std::uint32_t name;
            std::size_t offset, size;
        } sections[] = {{1, namesAt, names.size()}, {11, namesAt, 4}, {24, blockAt, block.size()}};
        for (std::size_t i = 0; i < 3; ++i) {
            const std::size_t at = tableAt + (i + 1) * entry;
            Put(out, at, sections[i].name, 4);
            Put(out, at + 4, 1, 4);  // SHT_PROGBITS
            Word(out, at + (is64_ ? 24 : 16), sections[i].offset);
            Word(out, at + (is64_ ? 32 : 20), sections[i].size);
        }
        return out;
    }

private:
    bool is64_, big_;
};

bool WellFormed(const std::string& text)
{
    static const std::regex kVersion(R"((\d+\.\d+\.\d+\.\d+)?)");
    return std::regex_match(text, kVersion);
}

// Flips a few random bytes, asks for the version, puts the bytes back.
void Corrupt(std::vector<std::uint8_t>& image, std::mt19937& random, int rounds,
             const std::vector<std::pair<std::size_t, std::size_t>>& regions)
{
    std::uniform_int_distribution<int> flips(1, 8);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < rounds; ++round) {
        std::vector<std::pair<std::size_t, std::uint8_t>> saved;
        for (int i = flips(random); i > 0; --i) {
            const auto& [from, to] = regions[random() % regions.size()];
            const std::size_t at = from + random() % (to - from);
            saved.emplace_back(at, image[at]);
            image[at] = static_cast<std::uint8_t>(byte(random));
        }
        const std::string text = utils::GetImageVersionText(image);
        ASSERT_TRUE(WellFormed(text)) << "round " << round << ": " << text;
        for (auto it = saved.rbegin(); it != saved.rend(); ++it) image[it->first] = it->second;
    }
}

}  // namespace

TEST(ElfVersionSection, FoundInEveryElfClassAndByteOrder)
{
    for (bool is64 : {false, true}) {
        for (bool big : {false, true}) {
            const auto elf = ElfWriter(is64, big).Build(SampleBlock());
            EXPECT_EQ(utils::GetImageVersionText(elf), "3.4.5.60000") << is64 << big;
            for (std::size_t cut = 0; cut < elf.size(); ++cut)
                ASSERT_EQ(utils::GetImageVersionText(std::span(elf).first(cut)), "0.0.0.0") << cut;
        }
    }
}

TEST(VersionReaderFuzz, RandomlyCorruptedWindowsExecutables)
{
    std::mt19937 random(20240611);
    for (const char* name : {"pe64-version.exe", "pe32-version.dll", "pe64-noversion.exe"}) {
        auto pe = ReadAll(FixturePath(name));
        Corrupt(pe, random, 3000, {{0, pe.size()}});
        // Headers and the resource tree are where damage bites: aim there too.
        Corrupt(pe, random, 3000, {{0, 0x200}, {0x400, pe.size()}});
    }
}

TEST(VersionReaderFuzz, RandomlyCorruptedElfFiles)
{
    std::mt19937 random(7);
    for (bool is64 : {false, true}) {
        for (bool big : {false, true}) {
            auto elf = ElfWriter(is64, big).Build(SampleBlock());
            Corrupt(elf, random, 3000, {{0, elf.size()}});
        }
    }
    // The built executable: its header, section table and version section.
    auto self = ReadAll(VK_SELF_FILE);
    const std::size_t tableAt = utils::Le64(&self[0x28]);
    const auto range = utils::FindElfSection(utils::SpanImage(self), utils::kVersionSectionName);
    ASSERT_TRUE(range);
    Corrupt(self, random, 1000, {{0, 64}, {tableAt, self.size()}, {range->offset, range->offset + range->size}});
}
