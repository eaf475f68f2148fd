// The band table: the text of every band index, and which band indexes each radio type offers.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

inline constexpr int16_t BandCount = 19;

// Row i is band index i; the same texts in both window languages.
inline constexpr std::array<std::string_view, BandCount> BandTable{
    "UHF(400 - 490 MHz) VHF(136 - 174 MHz)", // 0
    "UHF(400 - 490 MHz) VHF(144 - 146 MHz)", // 1
    "UHF(430 - 440 MHz) VHF(136 - 174 MHz)", // 2
    "UHF(430 - 440 MHz) VHF(144 - 146 MHz)", // 3
    "UHF(430 - 440 MHz) VHF(144 - 148 MHz)", // 4
    "UHF(400 - 438 MHz) VHF(136 - 174 MHz)", // 5
    "UHF(420 - 450 MHz) VHF(144 - 148 MHz)", // 6
    "UHF(400 - 470 MHz) VHF(136 - 174 MHz)", // 7
    "UHF(400 - 490 MHz) VHF(400 - 490 MHz)", // 8
    "UHF(430 - 440 MHz) VHF(430 - 440 MHz)", // 9
    "UHF(400 - 438 MHz) VHF(400 - 438 MHz)", // 10
    "UHF(420 - 450 MHz) VHF(420 - 450 MHz)", // 11
    "UHF(136 - 174 MHz) VHF(136 - 174 MHz)", // 12
    "UHF(144 - 146 MHz) VHF(144 - 146 MHz)", // 13
    "UHF(144 - 148 MHz) VHF(144 - 148 MHz)", // 14
    "European version PMR",                  // 15
    "US GMRS",                               // 16
    "Australian UHF CB",                     // 17
    "UHF(66 - 88 MHz) VHF(66 - 88 MHz)",     // 18
};

// The only row the logic treats specially: a radio in it cannot be given another band.
inline constexpr int16_t FarBandIndex = 18;

// The radio types in the order of the radio-type list; the position is the radio type.
inline constexpr std::array<std::string_view, 3> RadioTypeNames{"TANGELOUV", "TANGELOSU", "TANGELOSV"};

// Band indexes offered to each radio type, in list order.
inline constexpr std::array<int16_t, 11> BandListUV{0, 1, 2, 3, 4, 5, 6, 7, 15, 16, 17};
inline constexpr std::array<int16_t, 7> BandListSU{8, 9, 10, 11, 15, 16, 17};
inline constexpr std::array<int16_t, 5> BandListSV{12, 13, 14, 15, 18};

inline constexpr std::array<std::span<const int16_t>, 3> BandLists{BandListUV, BandListSU, BandListSV};

// What a write does about the band, from the radio's band (its identity reply's band byte) and the
// band chosen for it (-1: none). A radio in the far band cannot be given another one; any other
// difference is a change that the user must agree to.
enum class BandChange { Keep, Change, Refuse };

constexpr BandChange CheckBandChange(int radioBand, int chosenBand)
{
    if (radioBand == FarBandIndex && chosenBand != FarBandIndex)
        return BandChange::Refuse;
    if (chosenBand >= 0 && chosenBand != radioBand)
        return BandChange::Change;
    return BandChange::Keep;
}

// Whether the band list of a radio type (its position in RadioTypeNames) holds a band index.
constexpr bool TypeOffersBand(int radioType, int band)
{
    if (radioType < 0 || radioType >= static_cast<int>(BandLists.size()))
        return false;
    for (int16_t offered : BandLists[static_cast<size_t>(radioType)])
        if (offered == band)
            return true;
    return false;
}
