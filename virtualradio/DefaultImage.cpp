#include "DefaultImage.h"

#include <string_view>

namespace {

// Texts as the factory tools write them: the text, then the pad byte to the field's width.
void PutText(std::array<uint8_t, 256>& image, int offset, std::string_view text, int width, uint8_t pad)
{
    for (int i = 0; i < width; ++i)
        image[size_t(offset + i)] = i < int(text.size()) ? uint8_t(text[size_t(i)]) : pad;
}

} // namespace

std::array<uint8_t, 256> MakeDefaultImage()
{
    std::array<uint8_t, 256> image;
    image.fill(0xFF); // untouched EEPROM
    image[7] = 0;     // band index
    PutText(image, 9, "0595", 4, 0x00);
    image[13] = 0xE0; // five-tone, two-tone and DTMF fitted; band setting locked
    image[14] = 0x00;
    PutText(image, 16, "TG24031500871", 16, 0x00);
    PutText(image, 32, "2024-03-15", 16, 0x00);
    PutText(image, 48, "12-1-E-1", 8, 0x00);
    PutText(image, 56, "001A", 4, 0x00);
    // 60: programming password left empty (0xFF)
    PutText(image, 64, "2024-11-02", 16, 0x00);
    // 80: dealer code empty (0xFF)
    PutText(image, 96, "2024-04-01", 16, 0x00);
    PutText(image, 112, "2024-05-20", 16, 0x00);
    PutText(image, 128, "Li Wei", 16, 0x00);
    PutText(image, 144, "Replaced antenna connector", 64, 0x00);
    return image;
}
