// An image decoded and encoded again, as a write does with what it read, in every code page that some
// locale gives the program: no byte outside the fields that a write encodes may change, and no byte of
// a text field that the write leaves untouched either.
#include "data/AnsiCodePage.h"
#include "data/ModData.h"
#include "FuzzCheck.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <set>
#include <span>
#include <vector>

namespace {

struct Field
{
    const char* name;
    int offset;
    int width;
};

// The text fields a write encodes, by their place in the image (written out here, not taken from the
// program's layout, so that a wrong offset there is caught).
constexpr std::array<Field, 5> EncodedTextFields{{
    {"ProgramPassword", 60, 4},
    {"DealerCode", 80, 16},
    {"StockDate", 96, 16},
    {"SellDate", 112, 16},
    {"Seller", 128, 16},
}};
constexpr int BandByte = 7;
constexpr int SwitchByte = 13;
constexpr uint8_t BandSettingBit = 0x04;

// Per image byte, the bits that encoding may change: the band byte, the band-setting switch and the
// given text fields.
InfoImageType MayChange(std::span<const Field> fields)
{
    InfoImageType mask{};
    mask[BandByte] = 0xFF;
    mask[SwitchByte] = BandSettingBit;
    for (const Field& field : fields)
        for (int i = 0; i < field.width; ++i)
            mask[size_t(field.offset + i)] = 0xFF;
    return mask;
}

// Each code page as the window would use it, for every locale Qt knows.
std::vector<AnsiCodePage> CodePagesInUse()
{
    std::set<QByteArray> names;
    for (const QLocale& locale :
         QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory))
        names.insert(AnsiCodePage::ForLocale(locale).Name());
    std::vector<AnsiCodePage> pages;
    for (const QByteArray& name : names)
        pages.emplace_back(name);
    return pages;
}

void RequireOnlyMaskedChanged(const InfoImageType& before, const InfoImageType& after,
                              const InfoImageType& mask, const QByteArray& page)
{
    for (size_t i = 0; i < before.size(); ++i) {
        FUZZ_REQUIRE(((before[i] ^ after[i]) & ~mask[i]) == 0, "%s: byte %zu went from %02x to %02x",
                     page.constData(), i, before[i], after[i]);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::vector<AnsiCodePage> pages = CodePagesInUse();
    static const InfoImageType encodedFields = MayChange(EncodedTextFields);

    InfoImageType image{};
    std::copy_n(data, std::min(size, image.size()), image.begin());
    // The byte after the image picks the fields the user edited; the rest must come back as they were.
    const uint8_t editedBits = size > image.size() ? data[image.size()] : 0;
    TextFieldSet edited;
    std::vector<Field> editedFields;
    for (size_t i = 0; i < AllTextFields.size(); ++i) {
        if (editedBits & (1U << i)) {
            edited.Insert(AllTextFields[i]);
            editedFields.push_back(EncodedTextFields[i]);
        }
    }
    const InfoImageType editedOnly = MayChange(editedFields);
    for (const AnsiCodePage& page : pages) {
        const RadioInfoRecord record = DecodeInfo(image, page);
        RequireOnlyMaskedChanged(image, EncodeInfo(image, record, page), encodedFields, page.Name());
        RequireOnlyMaskedChanged(image, EncodeInfo(image, record, page, edited), editedOnly, page.Name());
    }
    return 0;
}
