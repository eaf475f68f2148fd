// The information block of a plausible radio fresh from a service: factory data, a sale, a repair.
#pragma once

#include <array>
#include <cstdint>

std::array<uint8_t, 256> MakeDefaultImage();
