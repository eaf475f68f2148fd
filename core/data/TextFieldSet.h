// The five text fields that a write may change in the radio's block, and a set of them. A write
// encodes only the fields of a set from the record; the others go back as the radio holds them.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

// In the order of the block.
enum class TextField : uint8_t { ProgramPassword, DealerCode, StockDate, SellDate, Seller };

inline constexpr std::array<TextField, 5> AllTextFields{TextField::ProgramPassword, TextField::DealerCode,
                                                        TextField::StockDate, TextField::SellDate,
                                                        TextField::Seller};

class TextFieldSet
{
public:
    constexpr TextFieldSet() = default;
    constexpr TextFieldSet(std::initializer_list<TextField> fields)
    {
        for (TextField field : fields)
            Insert(field);
    }
    static constexpr TextFieldSet All()
    {
        TextFieldSet all;
        for (TextField field : AllTextFields)
            all.Insert(field);
        return all;
    }

    constexpr bool Contains(TextField field) const { return (bits & Bit(field)) != 0; }
    constexpr void Insert(TextField field) { bits = static_cast<uint8_t>(bits | Bit(field)); }
    constexpr bool operator==(const TextFieldSet&) const = default;

private:
    static constexpr uint8_t Bit(TextField field)
    {
        return static_cast<uint8_t>(1U << static_cast<unsigned>(field));
    }

    uint8_t bits = 0;
};
